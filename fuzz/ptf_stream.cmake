vra_fuzz_target(ptf_stream SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ptf_stream.cpp LIBS core_decode)
