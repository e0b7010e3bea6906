# One INTERFACE target carries what every target of ours compiles with, so no target
# can drift to weaker warnings or forget Qt's string-safety defines.
add_library(marvolt_options INTERFACE)
add_library(marvolt::options ALIAS marvolt_options)
target_compile_features(marvolt_options INTERFACE cxx_std_20)
target_compile_options(marvolt_options INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(marvolt_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_USE_QSTRINGBUILDER)

if(MARVOLT_SANITIZE)
    # Applied to every target, third-party code included, so the runtime sees all frames.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
