# `make package`: a Debian package of the installed files, zorvan_<version>_<arch>.deb.
# dpkg-shlibdeps finds the libraries the program links (Qt, GStreamer, GLib); the rest of
# Depends is what the player loads at run time without linking it: the GStreamer plugins
# that decode MP3, WMA and WAV, Qt's X11 and Wayland platform plugins, a font with the
# Chinese characters of the interface, and the MIME database the file associations use.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ZorvanPlayer maintainers <maintainers@zorvan.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music player with lyrics shown in step, Chinese interface")
set(CPACK_PACKAGE_DESCRIPTION
    "ZorvanPlayer plays MP3, WMA and WAV files (and whatever else GStreamer decodes)
from a playlist, shows the lyrics of LRC files line by line as the song plays
and turns the full screen into a slideshow of the user's pictures. It keeps
its playlist and settings between runs, can be made the program that opens
music files and answers the desktop's media keys (MPRIS).")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly, \
gstreamer1.0-libav, qt6-qpa-plugins, fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei, \
shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
