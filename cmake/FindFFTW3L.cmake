# FFTW's long double library (Debian: libfftw3-dev), a reference for the benchmarks only.
# Defines FFTW3L_FOUND and the imported target FFTW3L::fftw3l.
find_library(FFTW3L_LIBRARY fftw3l)
find_path(FFTW3L_INCLUDE_DIR fftw3.h)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(FFTW3L REQUIRED_VARS FFTW3L_LIBRARY FFTW3L_INCLUDE_DIR)
if(FFTW3L_FOUND AND NOT TARGET FFTW3L::fftw3l)
  add_library(FFTW3L::fftw3l UNKNOWN IMPORTED)
  set_target_properties(FFTW3L::fftw3l PROPERTIES IMPORTED_LOCATION ${FFTW3L_LIBRARY}
                        INTERFACE_INCLUDE_DIRECTORIES ${FFTW3L_INCLUDE_DIR})
endif()
