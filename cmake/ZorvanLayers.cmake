# Each layer is one library made of every source file in its folder, so a new file
# needs no edit here. A layer with no sources yet is an interface library.
function(zorvan_layer name)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    list(FILTER sources INCLUDE REGEX "\\.(cpp|qrc)$")
    if(sources)
        file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
        add_library(zorvan_${name} STATIC ${sources} ${headers})
        target_include_directories(zorvan_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(zorvan_${name} PUBLIC ${ARG_LINKS})
    else()
        add_library(zorvan_${name} INTERFACE)
        target_include_directories(zorvan_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(zorvan_${name} INTERFACE ${ARG_LINKS})
    endif()
endfunction()

# One GoogleTest program per layer: every .cpp file in the test folder, with a main
# that starts the Qt application object the layer needs.
function(zorvan_layer_tests name)
    cmake_parse_arguments(ARG "" "MAIN" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE ${ARG_LINKS} zorvan_test_${ARG_MAIN}_main
        GTest::gtest GTest::gmock Qt6::Test)
    gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
