# What Windows shows about a program file: the version resource, filled in
# from project(), and the application manifest named.
function(oxview_program_details target description manifest)
    set(DETAILS_NAME ${target})
    set(DETAILS_DESCRIPTION "${description}")
    set(DETAILS_MANIFEST ${manifest})
    set(version_rc ${CMAKE_BINARY_DIR}/resources/${target}_version.rc)
    configure_file(${CMAKE_SOURCE_DIR}/resources/version.rc.in ${version_rc} @ONLY)
    set(manifest_rc ${CMAKE_BINARY_DIR}/resources/${target}_manifest.rc)
    configure_file(${CMAKE_SOURCE_DIR}/resources/manifest.rc.in ${manifest_rc} @ONLY)
    target_sources(${target} PRIVATE ${version_rc} ${manifest_rc})
    # windres reports no dependencies: rebuild when the manifest changes.
    set_property(SOURCE ${manifest_rc} APPEND PROPERTY OBJECT_DEPENDS ${manifest})
endfunction()
