# Short Layer II streams for the player tests, made at build time with sox and twolame into
# the test data folder (data/player). The two channels differ so that a swap would show.
find_program(SONAREL_SOX sox REQUIRED)
find_program(SONAREL_TWOLAME twolame REQUIRED)
find_program(SONAREL_LAME lame REQUIRED)

set(_player_dir ${CMAKE_CURRENT_BINARY_DIR}/data/player)
set(_player_streams)
# name  rate  channels  seconds  kbit/s  twolame mode  [extra twolame options]
foreach(_stream
    "stereo44 44100 2 4 192 s"
    "mono48 48000 1 2 64 m"
    "crc44 44100 2 2 128 j -p")
  separate_arguments(_args UNIX_COMMAND "${_stream}")
  list(GET _args 0 _name)
  list(GET _args 1 _rate)
  list(GET _args 2 _ch)
  list(GET _args 3 _sec)
  list(GET _args 4 _kbit)
  list(GET _args 5 _mode)
  set(_extra)
  list(LENGTH _args _count)
  if(_count GREATER 6)
    list(SUBLIST _args 6 -1 _extra)
  endif()
  if(_ch EQUAL 2)
    set(_synth synth ${_sec} sine 440 sine 660)
  else()
    set(_synth synth ${_sec} sine 523)
  endif()
  add_custom_command(
    OUTPUT ${_player_dir}/${_name}.mp2
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_player_dir}
    COMMAND ${SONAREL_SOX} -R -q -n -r ${_rate} -c ${_ch} -b 16 ${_player_dir}/${_name}.wav ${_synth} gain -6
    COMMAND ${SONAREL_TWOLAME} --quiet -b ${_kbit} -m ${_mode} ${_extra} ${_player_dir}/${_name}.wav ${_player_dir}/${_name}.mp2
    COMMAND ${CMAKE_COMMAND} -E remove ${_player_dir}/${_name}.wav
    COMMENT "Making the test stream ${_name}.mp2"
    VERBATIM)
  list(APPEND _player_streams ${_player_dir}/${_name}.mp2)
endforeach()
# A stream that changes from Layer II to Layer III: stereo44 followed by one second of bare
# MPEG-1 Layer III frames of the same rate and channel mode (l3part.mp3).
add_custom_command(
  OUTPUT ${_player_dir}/l3part.mp3 ${_player_dir}/mixed44.mpa
  COMMAND ${SONAREL_SOX} -R -q -n -r 44100 -c 2 -b 16 ${_player_dir}/l3part.wav synth 1 sine 880 sine 220 gain -6
  COMMAND ${SONAREL_LAME} --quiet -t -b 128 -m s ${_player_dir}/l3part.wav ${_player_dir}/l3part.mp3
  COMMAND ${CMAKE_COMMAND} -E remove ${_player_dir}/l3part.wav
  COMMAND sh -c "cat stereo44.mp2 l3part.mp3 > mixed44.mpa"
  WORKING_DIRECTORY ${_player_dir}
  DEPENDS ${_player_dir}/stereo44.mp2
  COMMENT "Making the test stream mixed44.mpa"
  VERBATIM)
list(APPEND _player_streams ${_player_dir}/l3part.mp3 ${_player_dir}/mixed44.mpa)
add_custom_target(decoder_player_streams ALL DEPENDS ${_player_streams})
if(TARGET decoder_tests)
  add_dependencies(decoder_tests decoder_player_streams)
endif()
