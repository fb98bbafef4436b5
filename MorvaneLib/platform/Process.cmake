# Process finds the library's own folder with dladdr.
target_link_libraries(MorvaneLib PRIVATE ${CMAKE_DL_LIBS})
