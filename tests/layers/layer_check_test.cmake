# Runs cmake/check_layers.cmake over small trees made here: one that keeps to the layers,
# one with an include that climbs, one with a folder in no layer.
#   cmake -DCHECK=<check_layers.cmake> -DWORK=<scratch folder> -P layer_check_test.cmake
cmake_minimum_required(VERSION 3.25)

function(make_tree root)
  file(REMOVE_RECURSE ${root})
  file(WRITE ${root}/src/platform/paths.h "#pragma once\n")
  file(WRITE ${root}/src/frames/frame_store.h "#pragma once\n#include \"platform/paths.h\"\n#include <vector>\n")
  file(WRITE ${root}/src/video/source_graph.cpp "#include \"frames/frame_store.h\"\n#include \"video/graph.h\"\n")
  file(WRITE ${root}/src/cli/main.cpp "#include \"session/session.h\"\n#include <lumora/effect.h>\n")
endfunction()

# Runs the check over `root`; fails this test unless its exit and output are as expected.
function(expect_check root should_pass pattern)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -P ${CHECK}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(text "${out}${err}")
  if(should_pass AND NOT result EQUAL 0)
    message(FATAL_ERROR "a tree that keeps to the layers was refused:\n${text}")
  elseif(NOT should_pass AND result EQUAL 0)
    message(FATAL_ERROR "a tree that breaks the layers passed")
  endif()
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "the check did not say \"${pattern}\":\n${text}")
  endif()
endfunction()

make_tree(${WORK}/good)
expect_check(${WORK}/good TRUE "")

make_tree(${WORK}/upward)
file(APPEND ${WORK}/upward/src/frames/frame_store.h "  #  include \"effects/effect_chain.h\"\n")
expect_check(${WORK}/upward FALSE
  "src/frames/frame_store.h: #  include \"effects/effect_chain.h\" \\(frames may not include effects\\)")

make_tree(${WORK}/stray)
file(WRITE ${WORK}/stray/src/extras/thing.h "#pragma once\n")
expect_check(${WORK}/stray FALSE "src/extras/ is in no layer")
