# Builds the SDK's example plug-in as a plug-in author would, as a project of its own that
# sees only the SDK headers and the program folder's libraries, then runs the test that
# loads it into an effect chain.
#   -DSOURCE=<sdk/example> -DBINARY=<build folder> -DSDK_INCLUDE=<sdk/include>
#   -DPROGRAM_DIR=<program folder> -DGENERATOR=<generator> -DTEST_EXE=<effects_tests>
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G ${GENERATOR}
          -DLUMORA_SDK_INCLUDE_DIR=${SDK_INCLUDE} -DLUMORA_PROGRAM_DIR=${PROGRAM_DIR}
  RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "configuring the example plug-in failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "building the example plug-in failed")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env LUMORA_SDK_EXAMPLE=${BINARY}/sliding_bar.so
          ${TEST_EXE} --gtest_filter=PluginSdkExample.*
  RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "the example plug-in test failed")
endif()
