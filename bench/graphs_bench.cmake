if(VRA_BUILD_GUI)
  vra_bench(graphs_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/graphs_bench.cpp LIBS gui_graphs simkit)
endif()
