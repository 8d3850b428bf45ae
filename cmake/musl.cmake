# SPDX-License-Identifier: MIT
# Links the game statically with musl, the small MIT-licensed C library, in place of the system's.
# The game calls nothing of the C++ library at run time, so g++ compiles it against musl's headers
# (through the rules file that Debian's musl-gcc wrapper gives gcc, with libstdc++'s own headers for
# <cstdio> and the like) and links it with musl's libc.a and libgcc alone: a C++ library call that
# slipped in fails the link rather than bringing in a library built for glibc. Needs Debian's
# musl-dev for the target's processor (musl-dev:arm64 for aarch64).
set(musl_dir "/usr/lib/${CMAKE_SYSTEM_PROCESSOR}-linux-musl")
set(musl_rules "${musl_dir}/musl-gcc.specs")
if(NOT EXISTS "${musl_rules}")
  message(FATAL_ERROR "A static game links musl: install Debian's musl-dev for ${CMAKE_SYSTEM_PROCESSOR} "
                      "(${musl_dir} is missing), or configure without STICKQUEST_STATIC.")
endif()
# Debian's rules link a static-pie as a dynamic program; these start and link it as one that needs
# no loader, still at a random address.
set(static_pie_rules "${PROJECT_BINARY_DIR}/musl-static-pie.rules")
file(CONFIGURE OUTPUT "${static_pie_rules}" CONTENT [[
*startfile:
@musl_dir@/rcrt1.o @musl_dir@/crti.o crtbeginS.o%s

*link:
-nostdlib -static -pie --no-dynamic-linker -z text
]] @ONLY)
# The rules leave out every header but musl's, so libstdc++'s come back by name; their
# configuration asks glibc's version of a C library that has none.
set(cxx_headers ${CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES})
list(FILTER cxx_headers INCLUDE REGEX "/c\\+\\+/")
list(TRANSFORM cxx_headers PREPEND "-isystem")
target_compile_options(stickquest PRIVATE "SHELL:-specs ${musl_rules}" ${cxx_headers}
                       "-D__GLIBC_PREREQ(major, minor)=0")
target_link_options(stickquest PRIVATE "SHELL:-specs ${musl_rules}" "SHELL:-specs ${static_pie_rules}"
                    -nodefaultlibs)
target_link_libraries(stickquest PRIVATE c gcc)
