# The Debian package: `cpack -G DEB` in the build folder (./dev.sh package) packs what
# `cmake --install` installs, under /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimra)
set(CPACK_PACKAGE_VENDOR Glimra)
set(CPACK_PACKAGE_CONTACT "Glimra maintainers <maintainers@users.noreply.c-seed-a1ccba0a.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "guesses what you have selected and offers what can be done with it")
set(CPACK_PACKAGE_DESCRIPTION
    "Select something anywhere - a path printed by a compiler, a URL, a word, 10/4, a
backticked command - and ask for a guess: Glimra captures the selection from the
front-most application, recognises it and offers actions: open, reveal in the file
manager, paste a computed result back, search the web or the desktop, or whatever
your own Perl, Korn shell and handler-script plug-ins offer.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Installed through DESTDIR, so that the install step sees the real prefix (/usr) and the
# bus service file names the program where the package puts it.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the program links are found by dpkg-shlibdeps; what it loads or runs is
# named here: the xcb platform plugin, the SVG image plugin for its icon, and the programs
# the matchers, plug-in hosts and application scripts start.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, perl, ksh93u+m | ksh, bc, xdg-utils, plocate, xclip, xdotool, x11-utils")

include(CPack)
