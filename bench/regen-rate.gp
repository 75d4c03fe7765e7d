# Jobs per second of olmwiz regen against the number of jobs in the
# manifest, from the data scripts/bench.sh writes (columns: jobs, regen
# --jobs 1, regen --jobs 2, separate olmwiz run processes).
#   gnuplot -e "datafile='...'; outfile='...'" bench/regen-rate.gp
set terminal pngcairo size 800,500 noenhanced font ",10"
set output outfile
set title "olmwiz regen: jobs per second against manifest size"
set xlabel "jobs in the manifest"
set ylabel "jobs per second"
set logscale x
set xrange [7:1400]
set yrange [0:*]
set grid
set key top left
set xtics ("10" 10, "50" 50, "200" 200, "1,000" 1000)
plot datafile using 1:2 with linespoints lw 2 title "olmwiz regen --jobs 1", \
     datafile using 1:3 with linespoints lw 2 title "olmwiz regen --jobs 2", \
     datafile using 1:4 with lines lw 1 dt 2 title "separate olmwiz run --batch processes (200 jobs)"
