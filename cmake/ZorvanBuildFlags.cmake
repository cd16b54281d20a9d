# Compiler and linker flags that depend on the kind of build.
#
# ZORVAN_SANITIZE: AddressSanitizer and UndefinedBehaviorSanitizer over every target, for
# `make test-sanitize`. Undefined behaviour aborts instead of printing and going on, so a test
# that meets it fails.
# ZORVAN_FUZZ: the libFuzzer harnesses of fuzz/ (clang only); the code under test is built
# with the fuzzer's coverage instrumentation and the same sanitizers.
# Otherwise Release and RelWithDebInfo builds, the ones that are packaged, are hardened:
# checked string and memory functions, stack protector, position-independent executables
# and a read-only relocation table bound at start.
option(ZORVAN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ZORVAN_FUZZ "Build the libFuzzer harnesses of fuzz/ (needs clang)" OFF)

if(ZORVAN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "ZORVAN_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
elseif(ZORVAN_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
else()
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES CXX)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    set(release $<CONFIG:Release,RelWithDebInfo>)
    add_compile_options($<${release}:-U_FORTIFY_SOURCE> $<${release}:-D_FORTIFY_SOURCE=2>
        $<${release}:-fstack-protector-strong>)
    add_link_options($<${release}:-Wl,-z,relro,-z,now>)
endif()
