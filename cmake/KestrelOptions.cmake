# Compiler options shared by every Kestrel target.

# -O2 rather than CMake's -O3: GCC 12 gives false -Wfree-nonheap-object/-Wstringop-overflow at -O3.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "" FORCE)
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "" FORCE)

if(KESTREL_ASSERTIONS)
  foreach(cfg RELEASE RELWITHDEBINFO MINSIZEREL)
    string(REPLACE "-DNDEBUG" "" CMAKE_C_FLAGS_${cfg} "${CMAKE_C_FLAGS_${cfg}}")
    string(REPLACE "-DNDEBUG" "" CMAKE_CXX_FLAGS_${cfg} "${CMAKE_CXX_FLAGS_${cfg}}")
  endforeach()
endif()

add_library(kestrel_options INTERFACE)
target_compile_options(kestrel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  -Wno-missing-field-initializers)
if(KESTREL_WERROR)
  target_compile_options(kestrel_options INTERFACE -Werror)
endif()

# The fuzz targets need clang's libFuzzer, and run under the sanitizers: address and undefined
# unless others are named.
if(KESTREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KESTREL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  if(NOT KESTREL_SANITIZE)
    set(KESTREL_SANITIZE address,undefined)
  endif()
endif()

if(KESTREL_SANITIZE)
  string(REPLACE "," ";" _kestrel_san "${KESTREL_SANITIZE}")
  set(_kestrel_san_flags "")
  foreach(s IN LISTS _kestrel_san)
    list(APPEND _kestrel_san_flags "-fsanitize=${s}")
  endforeach()
  add_compile_options(${_kestrel_san_flags} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(${_kestrel_san_flags})
endif()

# Every source folder below src/ is globbed: a new file needs no CMake change.
function(kestrel_glob_sources out dir)
  file(GLOB_RECURSE _files CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  set(${out} ${_files} PARENT_SCOPE)
endfunction()
