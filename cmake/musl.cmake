# SPDX-License-Identifier: MIT
# Links the game statically with musl, the small MIT-licensed C library, in place of the system's.
# The game calls nothing of the C++ library at run time, so g++ compiles it against musl's headers
# (through Debian's musl-gcc.specs, with libstdc++'s own headers for <cstdio> and the like) and links
# it with musl's libc.a and libgcc alone: a C++ library call that slipped in fails the link rather
# than bringing in a library built for glibc. Needs Debian's musl-dev for the target's processor
# (musl-dev:arm64 for aarch64).
set(musl_dir "/usr/lib/${CMAKE_SYSTEM_PROCESSOR}-linux-musl")
if(NOT EXISTS "${musl_dir}/musl-gcc.specs")
  message(FATAL_ERROR "A static game links musl: install Debian's musl-dev for ${CMAKE_SYSTEM_PROCESSOR} "
                      "(${musl_dir} is missing), or configure without STICKQUEST_STATIC.")
endif()
# musl-gcc.specs links static-pie as a dynamic program; these rules start and link it as one that
# needs no loader, still at a random address.
file(CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/musl-static-pie.specs" CONTENT [[
*startfile:
@musl_dir@/rcrt1.o @musl_dir@/crti.o crtbeginS.o%s

*link:
-nostdlib -static -pie --no-dynamic-linker -z text
]] @ONLY)
# musl-gcc.specs leaves out every header but musl's, so libstdc++'s come back by name; their
# configuration asks glibc's version of a C library that has none.
set(cxx_headers ${CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES})
list(FILTER cxx_headers INCLUDE REGEX "/c\\+\\+/")
list(TRANSFORM cxx_headers PREPEND "-isystem")
target_compile_options(stickquest PRIVATE "SHELL:-specs ${musl_dir}/musl-gcc.specs" ${cxx_headers}
                       "-D__GLIBC_PREREQ(major, minor)=0")
target_link_options(stickquest PRIVATE "SHELL:-specs ${musl_dir}/musl-gcc.specs"
                    "SHELL:-specs ${PROJECT_BINARY_DIR}/musl-static-pie.specs" -nodefaultlibs)
target_link_libraries(stickquest PRIVATE c gcc)
