# Runs olmwiz with several command lines and checks each exit code:
# 0 done, 1 errors found or the file could not be loaded, 2 wrong usage.
function(expect code)
  execute_process(COMMAND ${OLMWIZ} ${ARGN} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL code)
    message(FATAL_ERROR "olmwiz ${ARGN}: exit code ${rc}, expected ${code}: ${err}")
  endif()
endfunction()

expect(0 --help)
expect(2)
expect(2 nonsense)

expect(0 check-data --help)
expect(2 check-data)
expect(2 check-data --bogus ${BROKEN})
expect(1 check-data ${BROKEN})
expect(1 check-data ${BROKEN}.absent)

expect(0 check --help)
expect(2 check)
expect(2 check --kfz ${SAMPLE} extra)
expect(2 check --kfz ${SAMPLE}.absent)
expect(0 check --kfz ${SAMPLE})

expect(0 dump --help)
expect(2 dump --family korvo4)
expect(2 dump --wizard hsx)
expect(2 dump --wizard)
expect(2 dump --wizard hsx --family korvo4 --colour)
expect(2 dump --wizard tkl --family korvo4 extra)
expect(2 dump --wizard tkl_pll --kfz ${SAMPLE} --family korvo5)
expect(1 dump --wizard nope --family korvo4)
expect(0 dump --wizard tkl_pll --kfz ${SAMPLE})
expect(1 dump --wizard tkl_pll --kfz ${SAMPLE}.absent)
expect(1 dump --wizard xyz --kfz ${SAMPLE})

expect(0 show-kfz ${SAMPLE})
expect(1 show-kfz ${SAMPLE}.absent)
expect(2 show-kfz)
expect(2 show-kfz ${SAMPLE} ${SAMPLE})

expect(0 regen --help)
expect(2 regen)
expect(2 regen ${SAMPLE} ${SAMPLE})
expect(2 regen ${SAMPLE} --jobs 0)
expect(2 regen ${SAMPLE} --jobs two)
expect(2 regen ${SAMPLE}.absent)

# olmwiz-hdl takes the arguments of `olmwiz hdl` and answers each command
# line with the same exit code, output and messages.
function(expect_hdl code)
  expect(${code} hdl ${ARGN})
  execute_process(COMMAND ${OLMWIZ} hdl ${ARGN} OUTPUT_VARIABLE full_out ERROR_VARIABLE full_err)
  execute_process(COMMAND ${OLMWIZ_HDL} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL code OR NOT out STREQUAL full_out OR NOT err STREQUAL full_err)
    message(FATAL_ERROR "olmwiz-hdl ${ARGN}: exit code ${rc}, expected ${code}; "
                        "output '${out}' / '${full_out}', messages '${err}' / '${full_err}'")
  endif()
endfunction()

expect_hdl(0 --help)
expect_hdl(2 --kfz ${SAMPLE} --lang verilog)
expect_hdl(2 --kfz ${SAMPLE} --lang cobol -o out.v)
expect_hdl(2 --kfz ${SAMPLE} --lang vhdl -o out.vhd extra)
expect_hdl(1 --kfz ${SAMPLE}.absent --lang vhdl -o out.vhd)
