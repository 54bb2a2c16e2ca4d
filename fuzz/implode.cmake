vra_fuzz_target(implode SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/implode.cpp LIBS core_decode)
