find_package(ZLIB REQUIRED)
vra_bench(explode_bench SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/explode_bench.cpp LIBS core_decode simkit ZLIB::ZLIB)
