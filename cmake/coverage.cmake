# Line coverage of the product's own sources (tools/coverage.sh reads it
# with gcovr). Only the product is instrumented: the tests and GoogleTest stay
# as they are, so the counts are of what the tests make the product run.
# Included once every target exists.
option(OXVIEW_COVERAGE "Instrument the product's sources with gcov (--coverage)" OFF)
if(NOT OXVIEW_COVERAGE)
    return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "OXVIEW_COVERAGE needs gcc's gcov instrumentation")
endif()

# Each program writes its counts beside the object files when it ends normally.
# Unoptimised, so that each line keeps code of its own to count: at -O3
# inlined and merged blocks leave lines that did run shown as never run.
set(coverage_flags --coverage -O0)
foreach(target shared_core viewer_parts oxview capture_logic capture_sources oxcapture)
    target_compile_options(${target} PRIVATE ${coverage_flags})
endforeach()
# Everything that links shared_core links the product, so links libgcov too
# (statically, as the rest: -static is already on the link line).
target_link_options(shared_core INTERFACE --coverage)
# The frame checks compile three product sources into the test itself.
if(TARGET frame_invariants_test)
    target_compile_options(frame_invariants_test PRIVATE ${coverage_flags})
    target_link_options(frame_invariants_test PRIVATE --coverage)
endif()
