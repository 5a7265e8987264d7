# One place for every compile flag; all targets link kavo_flags.
add_library(kavo_flags INTERFACE)
target_compile_features(kavo_flags INTERFACE cxx_std_20)
target_compile_options(kavo_flags INTERFACE
    -Wall -Wextra -Wnon-virtual-dtor -Wno-missing-field-initializers)
target_compile_definitions(kavo_flags INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_KEYWORDS)

if(KAVO_SANITIZE AND KAVO_TSAN)
    message(FATAL_ERROR "KAVO_SANITIZE and KAVO_TSAN cannot be combined")
endif()
if(KAVO_SANITIZE)
    target_compile_options(kavo_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(kavo_flags INTERFACE -fsanitize=address,undefined)
endif()
if(KAVO_TSAN)
    target_compile_options(kavo_flags INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(kavo_flags INTERFACE -fsanitize=thread)
endif()
