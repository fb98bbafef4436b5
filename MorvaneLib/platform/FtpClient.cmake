# The FTP client runs over libcurl.
find_package(CURL REQUIRED)
target_link_libraries(MorvaneLib PRIVATE CURL::libcurl)
