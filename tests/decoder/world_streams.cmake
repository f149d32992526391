# Streams as encoders hand them out (tags, Info and Xing frames, MPEG 2.5), made at build time by
# lame from sox signals, with mpg123 float references (data/world).
if(TARGET decoder_tests)
  set(_world_out ${CMAKE_CURRENT_BINARY_DIR}/data/world)
  add_custom_command(
    OUTPUT ${_world_out}/stamp
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/make_world_streams.sh ${_world_out}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make_world_streams.sh
    COMMENT "Making the tagged and Xing test streams"
    VERBATIM)
  add_custom_target(world_streams DEPENDS ${_world_out}/stamp)
  add_dependencies(decoder_tests world_streams)
endif()
