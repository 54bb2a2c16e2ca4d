if(VRA_BUILD_GUI)
  vra_bench(chart_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/chart_bench.cpp LIBS gui_chart)
endif()
