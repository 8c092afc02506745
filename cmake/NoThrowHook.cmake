# Run after linking a binary that must not carry the crash report's throw hook: fails when
# BINARY defines __cxa_throw, in its symbol table or among its exports. NM is the nm to use.
foreach(table "" "--dynamic")
    execute_process(COMMAND ${NM} --defined-only ${table} ${BINARY}
        OUTPUT_VARIABLE symbols ERROR_QUIET)
    if(symbols MATCHES "(^|\n)[0-9a-fA-F]* *[A-Za-z] __cxa_throw(\\.[a-z]+)?(\n|$)")
        message(FATAL_ERROR "${BINARY} defines __cxa_throw: the throw hook belongs to quirelle alone")
    endif()
endforeach()
