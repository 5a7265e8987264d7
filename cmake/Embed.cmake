# kavo_embed_text(OUT_VAR file1 symbol1 file2 symbol2 ...)
# Turns text data files into C++ sources defining `extern const std::string_view symbol`,
# so the delivered schema and reference rows travel inside the executable.
function(kavo_embed_text out_var)
    set(sources)
    set(args ${ARGN})
    list(LENGTH args count)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 2)
        math(EXPR j "${i} + 1")
        list(GET args ${i} file)
        list(GET args ${j} symbol)
        set(in ${CMAKE_SOURCE_DIR}/${file})
        set(out ${CMAKE_BINARY_DIR}/embedded/${symbol}.cpp)
        add_custom_command(OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -DIN=${in} -DOUT=${out} -DSYMBOL=${symbol}
                    -P ${CMAKE_SOURCE_DIR}/cmake/EmbedOne.cmake
            DEPENDS ${in} ${CMAKE_SOURCE_DIR}/cmake/EmbedOne.cmake VERBATIM)
        list(APPEND sources ${out})
    endforeach()
    set(${out_var} ${sources} PARENT_SCOPE)
endfunction()
