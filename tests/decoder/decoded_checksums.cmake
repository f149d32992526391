# The table of checksums that the decoded test streams are held to.
if(TARGET decoder_tests)
  target_compile_definitions(decoder_tests PRIVATE DECODED_CHECKSUMS="${CMAKE_CURRENT_LIST_DIR}/decoded_checksums.txt")
endif()
