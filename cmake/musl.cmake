# SPDX-License-Identifier: MIT
# Links the game statically with musl, the small MIT-licensed C library, in place of the system's.
# The game calls nothing of the C++ library at run time, so g++ compiles it against musl's headers
# (with libstdc++'s own headers for <cstdio> and the like, and gcc's) and links it as a static-pie
# with musl's start files, libc.a and libgcc alone: a C++ library call that slipped in fails the link
# rather than bringing in a library built for glibc. Needs Debian's musl-dev for the target's
# processor (musl-dev:arm64 for aarch64).
set(musl_lib "/usr/lib/${CMAKE_SYSTEM_PROCESSOR}-linux-musl")
set(musl_include "/usr/include/${CMAKE_SYSTEM_PROCESSOR}-linux-musl")
if(NOT EXISTS "${musl_lib}/libc.a" OR NOT EXISTS "${musl_include}/stdio.h")
  message(FATAL_ERROR "A static game links musl: install Debian's musl-dev for ${CMAKE_SYSTEM_PROCESSOR} "
                      "(${musl_lib} is missing), or configure without STICKQUEST_STATIC.")
endif()
# No system header but musl's: libstdc++'s and gcc's own come back by name, around musl's.
# libstdc++'s configuration asks glibc's version of a C library that has none.
set(cxx_headers ${CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES})
set(gcc_headers ${CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES})
list(FILTER cxx_headers INCLUDE REGEX "/c\\+\\+/")
list(FILTER gcc_headers INCLUDE REGEX "/gcc(-cross)?/[^/]+/[^/]+/include$")
set(headers ${cxx_headers} "${musl_include}" ${gcc_headers})
list(TRANSFORM headers PREPEND "-isystem")
target_compile_options(stickquest PRIVATE -nostdinc ${headers} "-D__GLIBC_PREREQ(major, minor)=0")
# musl's start files (-B) and libraries (-L) come before the system's; -static-pie last on the line,
# after the -pie that CMake adds, which would make the game dynamic again.
target_link_options(stickquest PRIVATE "-B${musl_lib}/" "-L${musl_lib}" -nodefaultlibs)
target_link_libraries(stickquest PRIVATE -static-pie c gcc)
