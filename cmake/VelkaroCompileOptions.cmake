# SPDX-License-Identifier: GPL-3.0-or-later

# Warnings and Qt's stricter text rules, set on the project's own targets rather than
# for the whole directory tree, so that nothing pulled in from outside inherits them.
# CI makes warnings errors; a user's build with a newer compiler is not stopped by a
# warning that compiler has learnt.
option(VELKARO_WARNINGS_AS_ERRORS "Treat compiler warnings as errors (CI switches it on)" OFF)

function(velkaro_set_warnings target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra
            $<$<BOOL:${VELKARO_WARNINGS_AS_ERRORS}>:-Werror>)
    elseif(MSVC)
        target_compile_options(${target} PRIVATE /W4
            $<$<BOOL:${VELKARO_WARNINGS_AS_ERRORS}>:/WX>)
    endif()
endfunction()

# Every target compiled in a folder and below it: the programs, libraries, plugin,
# tests and benchmarks.
function(velkaro_set_warnings_below directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY)$")
            velkaro_set_warnings(${target})
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        velkaro_set_warnings_below(${subdirectory})
    endforeach()
endfunction()

# Implicit narrowing (qsizetype to int, double to int) is a warning in the code that is
# clean of it: everything but the data layer, whose reader is being rewritten.
function(velkaro_warn_conversions target)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wconversion)
    endif()
endfunction()

# The program's own code converts between bytes and text only where it says so: the
# Windows-1254 bytes of the data layer must never pass through an implicit UTF-8 or
# Latin-1 conversion. (Tests and benchmarks write their cases as plain literals.)
function(velkaro_use_strict_qt target)
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII
        QT_NO_CAST_TO_ASCII
        QT_NO_CAST_FROM_BYTEARRAY
        QT_NO_URL_CAST_FROM_STRING
        QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
        QT_NO_FOREACH)
endfunction()
