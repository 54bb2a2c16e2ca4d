if(VRA_BUILD_GUI)
  vra_bench(speedtrack_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/speedtrack_bench.cpp LIBS gui_map core_document testkit)
endif()
