# Compiler settings shared by every target of the project.

add_library(kestrum_warnings INTERFACE)
if(MSVC)
    target_compile_options(kestrum_warnings INTERFACE /W4 /permissive- /utf-8)
    target_compile_definitions(kestrum_warnings INTERFACE _CRT_SECURE_NO_WARNINGS)
else()
    target_compile_options(kestrum_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                                      -Wno-sign-conversion)
endif()

if(WIN32)
    # Unicode Win32 API everywhere; the W functions are the only ones the platform layer calls.
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    if(MINGW)
        # One self-contained executable: no libgcc, libstdc++ or winpthread DLLs beside it.
        add_link_options(-static -static-libgcc -static-libstdc++)
    endif()
endif()

# The native build exists to run the portable logic under the sanitizers.
if(NOT WIN32 AND NOT CMAKE_CROSSCOMPILING)
    option(KESTRUM_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
    if(KESTRUM_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
        add_link_options(-fsanitize=address,undefined)
    endif()
endif()
