# Layer I and II test streams with their reference decodings, made at build time:
# Layer II by twolame from sox signals whose two channels differ (a sweep and pink noise),
# Layer I by our own generator (layer1gen); references by mpg123 (32-bit float) and, for a few
# streams, madplay (24-bit). data/layer12_streams.txt lists "stream f32 [raw24]" per line.
set(_data ${CMAKE_CURRENT_BINARY_DIR}/data)
file(MAKE_DIRECTORY ${_data})

add_executable(layer1gen ${CMAKE_CURRENT_LIST_DIR}/layer1gen/Layer1Gen.cpp)

find_program(LEXORA_TWOLAME twolame)
find_program(LEXORA_MPG123 mpg123)
find_program(LEXORA_MADPLAY madplay)
find_program(LEXORA_SOX sox)
set(_manifest ${_data}/layer12_streams.txt)
if(NOT LEXORA_TWOLAME OR NOT LEXORA_MPG123 OR NOT LEXORA_MADPLAY OR NOT LEXORA_SOX)
  message(WARNING "twolame, mpg123, madplay and sox are needed for the Layer I/II reference tests "
                  "(scripts/install-deps.sh installs them)")
  file(WRITE ${_manifest} "missing-tools\n")
  return()
endif()

set(_outputs "")
set(_lines "")

# Signals: 1.5 s at each sampling frequency, channel 0 a sweep, channel 1 pink noise.
foreach(_rate 16000 22050 24000 32000 44100 48000)
  add_custom_command(OUTPUT ${_data}/signal_${_rate}.wav
    COMMAND ${LEXORA_SOX} -R -n -r ${_rate} -c 2 -b 16 ${_data}/signal_${_rate}.wav
            synth 1.5 sine 200-6000 pinknoise gain -4
    VERBATIM)
endforeach()

# _layer12_reference(NAME STREAM WITH_MADPLAY): mpg123 float output, madplay 24-bit output when asked.
function(_layer12_reference name stream with_madplay)
  set(_cmds COMMAND ${LEXORA_MPG123} -q --no-gapless -e f32 -O ${_data}/${name}.f32 ${stream})
  set(_outs ${_data}/${name}.f32)
  get_filename_component(_file ${stream} NAME)
  set(_line "${_file} ${name}.f32")
  if(with_madplay)
    list(APPEND _cmds COMMAND ${LEXORA_MADPLAY} -Q -d -b 24 -o raw:${_data}/${name}.raw ${stream})
    list(APPEND _outs ${_data}/${name}.raw)
    string(APPEND _line " ${name}.raw")
  endif()
  add_custom_command(OUTPUT ${_outs} ${_cmds} DEPENDS ${stream} VERBATIM)
  set(_outputs ${_outputs} ${_outs} PARENT_SCOPE)
  set(_lines "${_lines}${_line}\n" PARENT_SCOPE)
endfunction()

# Layer II: name rate mode(s/j/d/m) kbit/s extra-flags(none, p = checksum, d = padding, pd) madplay
set(_layer2
  "l2_44k_j192_p 44100 j 192 p 1"
  "l2_44k_s128_d 44100 s 128 d 0"
  "l2_44k_m56 44100 m 56 none 0"
  "l2_48k_s384 48000 s 384 none 0"
  "l2_48k_j64_p 48000 j 64 p 0"
  "l2_32k_m32_p 32000 m 32 p 1"
  "l2_32k_d96 32000 d 96 none 0"
  "l2_24k_j96_p 24000 j 96 p 1"
  "l2_22k_s64_d 22050 s 64 d 0"
  "l2_16k_m8 16000 m 8 none 0"
  "l2_16k_j160_pd 16000 j 160 pd 0")
foreach(_row IN LISTS _layer2)
  separate_arguments(_f UNIX_COMMAND "${_row}")
  list(GET _f 0 _name)
  list(GET _f 1 _rate)
  list(GET _f 2 _mode)
  list(GET _f 3 _kbps)
  list(GET _f 4 _extra)
  list(GET _f 5 _mad)
  set(_flags --quiet -b ${_kbps} -m ${_mode})
  if(_mode STREQUAL "m")
    list(APPEND _flags -a)
  endif()
  if(_extra MATCHES "p")
    list(APPEND _flags -p)
  endif()
  if(_extra MATCHES "d")
    list(APPEND _flags -d)
  endif()
  add_custom_command(OUTPUT ${_data}/${_name}.mp2
    COMMAND ${LEXORA_TWOLAME} ${_flags} ${_data}/signal_${_rate}.wav ${_data}/${_name}.mp2
    DEPENDS ${_data}/signal_${_rate}.wav VERBATIM)
  list(APPEND _outputs ${_data}/${_name}.mp2)
  _layer12_reference(${_name} ${_data}/${_name}.mp2 ${_mad})
endforeach()

# Layer I: name version rate-index bitrate-index mode checksum padding madplay (120 frames)
set(_layer1
  "l1_44k_s384_p 1 0 12 0 1 1 1"
  "l1_48k_j448 1 1 14 1 0 0 0"
  "l1_32k_m128_p 1 2 4 3 1 0 1"
  "l1_44k_j96 1 0 3 1 0 1 0"
  "l1_22k_s256 0 0 14 0 0 1 0"
  "l1_16k_m128_p 0 2 8 3 1 0 0"
  "l1_24k_d192 0 1 12 2 0 0 0")
set(_seed 11)
foreach(_row IN LISTS _layer1)
  separate_arguments(_f UNIX_COMMAND "${_row}")
  list(GET _f 0 _name)
  list(SUBLIST _f 1 5 _args)
  list(GET _f 6 _pad)
  list(GET _f 7 _mad)
  math(EXPR _seed "${_seed} + 1")
  add_custom_command(OUTPUT ${_data}/${_name}.mp1
    COMMAND layer1gen ${_data}/${_name}.mp1 ${_args} 120 ${_seed} ${_pad}
    DEPENDS layer1gen VERBATIM)
  list(APPEND _outputs ${_data}/${_name}.mp1)
  _layer12_reference(${_name} ${_data}/${_name}.mp1 ${_mad})
endforeach()

file(GENERATE OUTPUT ${_manifest} CONTENT "${_lines}")
add_custom_target(layer12_streams ALL DEPENDS ${_outputs})
if(TARGET decoder_tests)
  add_dependencies(decoder_tests layer12_streams)
endif()
