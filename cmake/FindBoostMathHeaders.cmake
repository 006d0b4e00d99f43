# Boost.Math's special functions, which the project uses header-only: the imported target
# BoostMath::headers. Debian keeps Boost in /usr/include, which a cross compiler (aarch64,
# mingw-w64, emscripten) must not search, since the host's C library lives there too; Boost's
# headers are the same for every target, so every build sees a folder that holds boost/ alone.
find_path(BoostMathHeaders_INCLUDE_DIR boost/math/special_functions/gamma.hpp
          HINTS /usr/include NO_CMAKE_FIND_ROOT_PATH)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(BoostMathHeaders REQUIRED_VARS BoostMathHeaders_INCLUDE_DIR)

if(BoostMathHeaders_FOUND AND NOT TARGET BoostMath::headers)
  set(boost_only ${CMAKE_BINARY_DIR}/boost-math-include)
  file(MAKE_DIRECTORY ${boost_only})
  file(CREATE_LINK ${BoostMathHeaders_INCLUDE_DIR}/boost ${boost_only}/boost SYMBOLIC)
  add_library(BoostMath::headers INTERFACE IMPORTED)
  set_target_properties(BoostMath::headers PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${boost_only})
endif()
