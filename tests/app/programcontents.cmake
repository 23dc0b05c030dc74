# Fails when PROGRAM loads a shared library whose name contains one of
# FORBIDDEN_LIBRARIES (as ldd lists them, so also through other libraries),
# or defines a symbol whose name contains one of FORBIDDEN_SYMBOLS (code
# linked in from a static library it should not carry). The names are
# regular expressions.
#   cmake -DPROGRAM=path [-DFORBIDDEN_LIBRARIES=a;b] [-DFORBIDDEN_SYMBOLS=c] -P programcontents.cmake
if(NOT EXISTS "${PROGRAM}")
    message(FATAL_ERROR "no program at '${PROGRAM}': build it first")
endif()

function(vx_run_tool tool)
    # find_program keeps what it found under the variable's name: one per tool.
    find_program(vx_tool_${tool} ${tool})
    set(found "${vx_tool_${tool}}")
    if(NOT found)
        message(FATAL_ERROR "${tool} is needed to look into ${PROGRAM}; install binutils/libc-bin")
    endif()
    execute_process(COMMAND ${found} ${ARGN} "${PROGRAM}"
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${tool} ${PROGRAM} failed (${status}): ${err}")
    endif()
    set(tool_output "${out}" PARENT_SCOPE)
endfunction()

set(faults "")
if(FORBIDDEN_LIBRARIES)
    vx_run_tool(ldd)
    foreach(name IN LISTS FORBIDDEN_LIBRARIES)
        string(REGEX MATCHALL "[^\n]*lib${name}[.]so[^\n]*" hits "${tool_output}")
        foreach(hit IN LISTS hits)
            string(STRIP "${hit}" hit)
            list(APPEND faults "loads ${hit}")
        endforeach()
    endforeach()
endif()
if(FORBIDDEN_SYMBOLS)
    vx_run_tool(nm --demangle --defined-only)
    foreach(name IN LISTS FORBIDDEN_SYMBOLS)
        string(REGEX MATCHALL "[^\n]*${name}[^\n]*" hits "${tool_output}")
        list(LENGTH hits n)
        if(n GREATER 0)
            list(GET hits 0 first)
            list(APPEND faults "defines ${n} symbols of ${name}, e.g. ${first}")
        endif()
    endforeach()
endif()

list(LENGTH faults count)
if(count GREATER 0)
    list(JOIN faults "\n  " shown)
    message(FATAL_ERROR "${PROGRAM} carries what it must not (${count}):\n  ${shown}")
endif()
message(STATUS "${PROGRAM}: nothing forbidden")
