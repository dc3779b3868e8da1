cmake_minimum_required(VERSION 3.25)
# Fails when a source file of one layer includes a header of a layer that is not below it.
# Run as a script:
#   cmake -DLAYER=matching -DALLOWED=foundation|platform|matching
#         -DSOURCES=a.cpp|a.h -DSTAMP=out.stamp -P CheckLayers.cmake
# A quoted include "x/y.h" belongs to layer x, the folder of src/ it names, except
# "desktop/wayland/…", which is the wayland library beside the desktop layer. Includes in
# angle brackets (Qt, the system) are not looked at.
string(REPLACE "|" ";" _allowed "${ALLOWED}")
string(REPLACE "|" ";" _sources "${SOURCES}")
set(_violations "")
foreach(_source IN LISTS _sources)
    if(NOT EXISTS "${_source}")
        continue()
    endif()
    file(STRINGS "${_source}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(_line IN LISTS _includes)
        if(NOT _line MATCHES "\"([^\"]+)\"")
            continue()
        endif()
        set(_header "${CMAKE_MATCH_1}")
        if(_header MATCHES "^desktop/wayland/")
            set(_layer wayland)
        elseif(_header MATCHES "^([^/]+)/")
            set(_layer "${CMAKE_MATCH_1}")
        else()
            continue() # a header next to the source, or a generated one
        endif()
        if(NOT _layer IN_LIST _allowed)
            list(APPEND _violations "${_source}: ${LAYER} may not include \"${_header}\" (layer ${_layer})")
        endif()
    endforeach()
endforeach()
if(_violations)
    list(JOIN _violations "\n  " _text)
    message(FATAL_ERROR "Includes against the layers:\n  ${_text}\n"
                        "${LAYER} may include: ${_allowed}")
endif()
if(STAMP)
    file(TOUCH "${STAMP}")
endif()
