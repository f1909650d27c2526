# Common settings for every Quorvela target.
function(quorvela_target_settings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(QUORVELA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_USE_QSTRINGBUILDER)
    if(QUORVELA_SANITIZE)
        # Undefined behaviour stops the test that meets it, as a memory error does. GCC leaves a
        # real number too large for its integer type out of "undefined"; it is asked for by name.
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined,float-cast-overflow
            -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined,float-cast-overflow)
    endif()
    if(QUORVELA_FUZZ)
        # Coverage for libFuzzer in every library the targets link; the targets add the driver.
        target_compile_options(${target} PRIVATE
            -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# quorvela_library(name SOURCES ... LINKS ...): a static library of one layer.
function(quorvela_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    quorvela_target_settings(${name})
endfunction()

# quorvela_test(name SOURCES ... LINKS ...): a GoogleTest executable run offscreen by ctest.
function(quorvela_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LINKS} quorvela_test_support GTest::gtest)
    quorvela_target_settings(${name})
    # One variable per property: gtest_discover_tests flattens a list value, which would turn
    # the second entry of an ENVIRONMENT list into a property name and drop it.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                   ENVIRONMENT_MODIFICATION "XDG_CONFIG_HOME=set:${CMAKE_BINARY_DIR}/test-config")
endfunction()
