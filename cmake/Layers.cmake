# Each folder of src/ is one static library, and a library links and includes only the
# layers below it:
#   foundation → platform → matching → matchers, actions, plugins, capture
#   → app (the pipeline, the controller, the bus service) → desktop → ui → cli (the programs)
# and, beside desktop, wayland (our own Wayland client, src/desktop/wayland), on foundation
# alone, for the desktop layer and those above it to use.
# glimra_layer(TARGET LAYER ALLOWED...) checks, whenever a source of TARGET changes and
# before TARGET is built, that its quoted includes name only LAYER itself and ALLOWED.
set(GLIMRA_CHECK_LAYERS_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/CheckLayers.cmake")

function(glimra_layer target layer)
    get_target_property(sources ${target} SOURCES)
    get_target_property(folder ${target} SOURCE_DIR)
    set(paths "")
    foreach(source IN LISTS sources)
        if(NOT IS_ABSOLUTE "${source}")
            set(source "${folder}/${source}")
        endif()
        list(APPEND paths "${source}")
    endforeach()
    set(allowed ${layer} ${ARGN})
    list(JOIN allowed "|" allowed_text)
    list(JOIN paths "|" paths_text)
    set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${target}.layers")
    add_custom_command(OUTPUT "${stamp}"
        COMMAND ${CMAKE_COMMAND} "-DLAYER=${layer}" "-DALLOWED=${allowed_text}"
                "-DSOURCES=${paths_text}" "-DSTAMP=${stamp}" -P "${GLIMRA_CHECK_LAYERS_SCRIPT}"
        DEPENDS ${paths} "${GLIMRA_CHECK_LAYERS_SCRIPT}"
        COMMENT "Checking the includes of ${layer}"
        VERBATIM)
    add_custom_target(${target}_layers DEPENDS "${stamp}")
    add_dependencies(${target} ${target}_layers)
endfunction()
