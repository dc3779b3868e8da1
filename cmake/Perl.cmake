# The embedded Perl interpreter: compile and link flags as ExtUtils::Embed reports them
# for the system perl. Only the Perl engine's own source file gets Perl's include path
# (PERL_EMBED_INCLUDE_DIRS, PERL_EMBED_DEFINES): Perl's headers define macros that break
# other code. Everything that links the engine links Perl::Embed.
find_program(PERL_EXECUTABLE perl REQUIRED)

execute_process(COMMAND ${PERL_EXECUTABLE} -MExtUtils::Embed -e ccopts
    OUTPUT_VARIABLE _perl_ccopts OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PERL_EXECUTABLE} -MExtUtils::Embed -e ldopts
    OUTPUT_VARIABLE _perl_ldopts OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

separate_arguments(_perl_ccopts UNIX_COMMAND "${_perl_ccopts}")
separate_arguments(_perl_ldopts UNIX_COMMAND "${_perl_ldopts}")

set(PERL_EMBED_INCLUDE_DIRS "")
set(PERL_EMBED_DEFINES "")
foreach(_opt IN LISTS _perl_ccopts)
    if(_opt MATCHES "^-I(.+)$")
        list(APPEND PERL_EMBED_INCLUDE_DIRS "${CMAKE_MATCH_1}")
    elseif(_opt MATCHES "^-D(.+)$")
        list(APPEND PERL_EMBED_DEFINES "${CMAKE_MATCH_1}")
    endif()
endforeach()

set(_perl_header_found FALSE)
foreach(_dir IN LISTS PERL_EMBED_INCLUDE_DIRS)
    if(EXISTS "${_dir}/perl.h")
        set(_perl_header_found TRUE)
    endif()
endforeach()
if(NOT _perl_header_found)
    message(FATAL_ERROR "perl.h was not found; install libperl-dev")
endif()

set(_perl_libs "")
set(_perl_link_options "")
foreach(_opt IN LISTS _perl_ldopts)
    if(_opt MATCHES "^-[lL]")
        list(APPEND _perl_libs "${_opt}")
    else()
        list(APPEND _perl_link_options "${_opt}")
    endif()
endforeach()

add_library(Perl::Embed INTERFACE IMPORTED)
set_target_properties(Perl::Embed PROPERTIES
    INTERFACE_LINK_LIBRARIES "${_perl_libs}"
    INTERFACE_LINK_OPTIONS "${_perl_link_options}")
