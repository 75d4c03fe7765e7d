# Time per block against design size, from the data scripts/bench.sh writes
# (columns: blocks, sync, save, save into the engine, file write, load).
#   gnuplot -e "datafile='...'; outfile='...'" bench/per-block.gp
set terminal pngcairo size 800,500 noenhanced font ",10"
set output outfile
set title "Time per block against design size (medians)"
set xlabel "blocks in the design"
set ylabel "microseconds per block"
set logscale xy
set xrange [7:14000]
set grid
set key top right
set xtics ("10" 10, "100" 100, "1,000" 1000, "10,000" 10000)
plot datafile using 1:2 with linespoints lw 2 title "SyncWizDataWithKFZ", \
     datafile using 1:3 with linespoints lw 2 title "SaveWizDataToEngine + Olm_Engine::Save", \
     datafile using 1:4 with linespoints lw 1 dt 2 title "  of which SaveWizDataToEngine", \
     datafile using 1:5 with linespoints lw 1 dt 2 title "  of which Olm_Engine::Save (JSON, fsync)", \
     datafile using 1:6 with linespoints lw 2 title "Olm_Engine::Load"
