# olmwiz run from the command line: usage errors exit with 2, a failed wizard
# with 1, a batch run without any display with 0.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(expect_exit code)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL code)
    message(FATAL_ERROR "expected exit ${code}, got ${rc}: ${ARGN}\n${out}\n${err}")
  endif()
  set(last_out "${out}" PARENT_SCOPE)
  set(last_err "${err}" PARENT_SCOPE)
endfunction()

expect_exit(2 ${OLMWIZ} run --wizard tkl_pll --family korvo5)
if(NOT last_err MATCHES "--design is required")
  message(FATAL_ERROR "missing --design not named: ${last_err}")
endif()
expect_exit(2 ${OLMWIZ} run --wizard tkl_pll --family korvo5 --design d --hdl edif)
expect_exit(2 ${OLMWIZ} run --wizard tkl_nope --family korvo5 --design d --batch)
expect_exit(2 ${OLMWIZ} run --wizard tkl_pll --family korvo5 --design d --bogus)
expect_exit(0 ${OLMWIZ} run --help)
if(NOT last_out MATCHES "ssio_rx .*ssio_tx ")
  message(FATAL_ERROR "run --help does not list the source-synchronous wizards:\n${last_out}")
endif()

# No display and no platform named: the run picks the offscreen platform.
set(ENV{DISPLAY} "")
set(ENV{WAYLAND_DISPLAY} "")
unset(ENV{QT_QPA_PLATFORM})
expect_exit(0 ${OLMWIZ} run --wizard tkl_pll --family korvo5 --design clkgen
  --options ${EXAMPLES}/tkl_pll_clkgen.opt --outdir ${WORK}/ok --batch)
if(NOT last_out MATCHES "Configured: 1 RKO_ADV configured for Single PLL\\.")
  message(FATAL_ERROR "no feature line: ${last_out}")
endif()
foreach(f clkgen.kfz clkgen.v clkgen_olmw.pkx)
  if(NOT EXISTS ${WORK}/ok/${f})
    message(FATAL_ERROR "${f} not written")
  endif()
endforeach()

file(WRITE ${WORK}/bad.opt "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=2;\n")
expect_exit(1 ${OLMWIZ} run --wizard tkl_pll --family korvo5 --design bad --options ${WORK}/bad.opt
  --outdir ${WORK}/bad --batch --silent --log ${WORK}/bad.log)
file(READ ${WORK}/bad.log log)
if(NOT log MATCHES "ERROR: RKO_ADV cannot generate the requested clocks")
  message(FATAL_ERROR "log lacks the error: ${log}")
endif()
if(last_out MATCHES "ERROR")
  message(FATAL_ERROR "--silent still printed: ${last_out}")
endif()

# A design name that is not an HDL name is refused before anything is written:
# the name reaches the HDL generator as an argument, never through a shell.
expect_exit(1 ${OLMWIZ} run --wizard tkl_pll --family korvo5 "--design=x' && touch pwned '"
  --outdir ${WORK}/named --batch)
if(NOT last_err MATCHES "the design name 'x' && touch pwned '' is not a legal Verilog name: it contains the character '''")
  message(FATAL_ERROR "illegal design name not explained: ${last_err}")
endif()
if(EXISTS ${WORK}/named OR EXISTS ${WORK}/pwned)
  message(FATAL_ERROR "a refused design name still wrote files")
endif()

# A batch run writes the HDL file in its own process: a copy of olmwiz alone
# in a folder, with no olmwiz-hdl beside it, writes the same file.
get_filename_component(olmwiz_name ${OLMWIZ} NAME)
file(COPY ${OLMWIZ} DESTINATION ${WORK}/alone)
expect_exit(0 ${WORK}/alone/${olmwiz_name} run --wizard tkl_pll --family korvo5 --design clkgen
  --options ${EXAMPLES}/tkl_pll_clkgen.opt --outdir ${WORK}/alone_out --batch)
file(READ ${WORK}/ok/clkgen.v expected_v)
file(READ ${WORK}/alone_out/clkgen.v written_v)
if(NOT written_v STREQUAL expected_v)
  message(FATAL_ERROR "the HDL file of a lone olmwiz differs")
endif()
