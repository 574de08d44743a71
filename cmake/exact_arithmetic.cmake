# SPDX-License-Identifier: MIT
# One game, one result on every build: a game is its input log, so every build (any compiler,
# any target, any flags a packager or a player adds) must round every floating-point operation
# as IEEE-754 says, one at a time. Included by every CMake project of the tree before it makes
# any target.
#
# - No contraction: a*b+c fused into one multiply-add rounds once instead of twice. GCC fuses
#   wherever the target has the instruction (aarch64 always, x86-64 from -march=x86-64-v3 or
#   -march=native), clang within an expression.
# - No value-changing optimisation: -ffast-math (and -funsafe-math-optimizations, which it sets)
#   reorders sums and replaces divisions; -fno-fast-math undoes it on the compile line and keeps
#   crtfastmath (which flushes tiny numbers to zero) out of the link. -Ofast turns it on too and
#   still links crtfastmath, whatever follows: it is refused.
# - No excess precision: every float and double is rounded to its own type (an x87 build keeps
#   temporaries in 80 bits): FLT_EVAL_METHOD must be 0.
#
# The options go on every compile and link line after CMAKE_<LANG>_FLAGS (which holds CFLAGS and
# CXXFLAGS from the environment), so they win over anything given there.
set(VX_EXACT_ARITHMETIC_OPTIONS -ffp-contract=off -fno-fast-math)

string(TOUPPER "${CMAKE_BUILD_TYPE}" vx_build_type)
foreach(vx_flags IN ITEMS CMAKE_CXX_FLAGS CMAKE_C_FLAGS CMAKE_EXE_LINKER_FLAGS
        CMAKE_CXX_FLAGS_${vx_build_type} CMAKE_C_FLAGS_${vx_build_type})
  if(" ${${vx_flags}} " MATCHES "[ \t]-Ofast[ \t]")
    message(FATAL_ERROR "${vx_flags} has -Ofast, which changes the game's arithmetic (a recorded "
      "game would play differently on this build): use -O3")
  endif()
endforeach()

add_compile_options(${VX_EXACT_ARITHMETIC_OPTIONS})
add_link_options(-fno-fast-math)

include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_FLAGS "${VX_EXACT_ARITHMETIC_OPTIONS}")
string(REPLACE ";" " " CMAKE_REQUIRED_FLAGS "${CMAKE_REQUIRED_FLAGS}")
check_cxx_source_compiles([=[
#include <cfloat>
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "floating-point temporaries are kept wider than their type"
#endif
int main() { return 0; }
]=] VX_ROUNDS_TO_TYPE)
unset(CMAKE_REQUIRED_FLAGS)
if(NOT VX_ROUNDS_TO_TYPE)
  message(FATAL_ERROR "this target keeps floating-point temporaries wider than their type "
    "(FLT_EVAL_METHOD is not 0; an x87 build?): build with SSE2 arithmetic (-msse2 -mfpmath=sse)")
endif()
