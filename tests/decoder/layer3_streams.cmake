# Layer III test streams and their references, made at build time (lame, sox, espeak-ng,
# mpg123, madplay).
if(TARGET decoder_tests)
  set(_l3_out ${CMAKE_CURRENT_BINARY_DIR}/data/layer3)
  add_custom_command(
    OUTPUT ${_l3_out}/stamp
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/make_layer3_streams.sh ${_l3_out}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make_layer3_streams.sh
    COMMENT "Making Layer III test streams"
    VERBATIM)
  add_custom_target(layer3_streams DEPENDS ${_l3_out}/stamp)
  add_dependencies(decoder_tests layer3_streams)
endif()
