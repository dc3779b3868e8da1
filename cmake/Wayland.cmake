# The Wayland client library (src/desktop/wayland) is built when libwayland-client,
# wayland-scanner and every protocol file it speaks are found; an X11-only build goes on
# without it. Sets GLIMRA_WAYLAND_FOUND and, for glimra_wayland_protocol(), the paths.
#   glimra_wayland_protocol(TARGET XML): generates the client header and code of XML at
#   build time and adds them to TARGET.
pkg_check_modules(WAYLAND_CLIENT QUIET IMPORTED_TARGET wayland-client)
find_program(WAYLAND_SCANNER wayland-scanner)

set(GLIMRA_THIRD_PARTY_PROTOCOLS "${PROJECT_SOURCE_DIR}/third_party/wayland-protocols")
set(GLIMRA_WLR_PROTOCOLS_HINTS "")
file(GLOB GLIMRA_WLR_PROTOCOLS_HINTS
     /usr/share/cargo/registry/wayland-protocols-*/wlr-protocols/unstable)
find_path(GLIMRA_WLR_PROTOCOLS wlr-data-control-unstable-v1.xml
          HINTS ${GLIMRA_WLR_PROTOCOLS_HINTS} /usr/share/wlr-protocols/unstable)
find_path(GLIMRA_PLASMA_PROTOCOLS plasma-window-management.xml
          HINTS /usr/share/plasma-wayland-protocols)

set(GLIMRA_WAYLAND_FOUND OFF)
if(GLIMRA_FUZZ)
    # The fuzz targets reach nothing of it.
elseif(WAYLAND_CLIENT_FOUND AND WAYLAND_SCANNER AND GLIMRA_WLR_PROTOCOLS AND GLIMRA_PLASMA_PROTOCOLS)
    set(GLIMRA_WAYLAND_FOUND ON)
    # wayland-scanner writes the protocol code in C.
    enable_language(C)
else()
    message(STATUS "Wayland support left out (needs libwayland-dev, libwayland-bin, "
                   "librust-wayland-protocols-dev and plasma-wayland-protocols)")
endif()

function(glimra_wayland_protocol target xml)
    get_filename_component(name "${xml}" NAME_WE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/protocols")
    set(header "${dir}/${name}-client-protocol.h")
    set(code "${dir}/${name}-protocol.c")
    add_custom_command(OUTPUT "${header}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND "${WAYLAND_SCANNER}" client-header "${xml}" "${header}"
        DEPENDS "${xml}" VERBATIM)
    add_custom_command(OUTPUT "${code}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND "${WAYLAND_SCANNER}" private-code "${xml}" "${code}"
        DEPENDS "${xml}" VERBATIM)
    target_sources(${target} PRIVATE "${header}" "${code}")
    target_include_directories(${target} PUBLIC "${dir}")
endfunction()
