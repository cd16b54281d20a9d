# Run by `cmake --install`: puts the application icons the skin generator drew (the window
# icon, picture 5, and icon-<size>.png, each at 1x and 2x) into the hicolor icon theme as
# zorvanplayer.png. Each file's folder comes from its own pixel size, read from the PNG
# header: a 1x picture of N pixels goes to NxN, a 2x picture of 2N pixels to NxN@2.
# ZORVAN_SKIN_FOLDER names the folder the generator wrote.
file(GLOB icons "${ZORVAN_SKIN_FOLDER}/icon-*.png" "${ZORVAN_SKIN_FOLDER}/05-window-icon*.png")
if(NOT icons)
    message(FATAL_ERROR "No application icons in ${ZORVAN_SKIN_FOLDER}: build the player first")
endif()
foreach(icon ${icons})
    # Width and height are the big-endian words at bytes 16 and 20.
    file(READ "${icon}" header OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${header}" 0 8 widthHex)
    string(SUBSTRING "${header}" 8 8 heightHex)
    math(EXPR width "0x${widthHex}")
    math(EXPR height "0x${heightHex}")
    if(NOT width EQUAL height)
        message(FATAL_ERROR "${icon} is not square (${width} x ${height})")
    endif()
    if(icon MATCHES "@2x\\.png$")
        math(EXPR edge "${width} / 2")
        set(folder "${edge}x${edge}@2")
    else()
        set(folder "${width}x${width}")
    endif()
    file(INSTALL "${icon}" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/${folder}/apps"
        RENAME zorvanplayer.png)
endforeach()
