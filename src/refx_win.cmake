# refx_win: the Windows console and the GDI plot window around refx_core.
# Included by src/CMakeLists.txt when cross-building with cmake/mingw-w64.cmake.

# mingw's own printf/scanf family, so %Le and every long double conversion are the
# C99 ones in every object of the program (the Microsoft runtime's long double is double).
target_compile_definitions(refx_core PUBLIC __USE_MINGW_ANSI_STDIO=1)

file(GLOB REFX_WIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/console/wincon/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/main_win.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/plot/gdi/*.cpp)
# windows_build.cpp is part of refx_core already.
list(REMOVE_ITEM REFX_WIN_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/console/wincon/windows_build.cpp)

add_executable(refx_win ${REFX_WIN_SOURCES})
target_link_libraries(refx_win PRIVATE refx_core gdi32 user32 kernel32)
# One self-contained .exe: no libstdc++, libgcc or winpthread DLLs beside it.
target_link_options(refx_win PRIVATE -static)
set_target_properties(refx_win PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
