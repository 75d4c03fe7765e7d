# Jobs per second of olmwiz regen against the number of jobs in the
# manifest, from the data scripts/bench.sh writes: a header row of titles,
# then the jobs and, for each folder measured, regen --jobs 1, regen --jobs 2
# and separate olmwiz run processes (measured at one size, drawn flat).
#   gnuplot -e "datafile='...'; outfile='...'" bench/regen-rate.gp
set terminal pngcairo size 800,560 noenhanced font ",10"
set output outfile
set title "olmwiz regen: jobs per second against manifest size"
set xlabel "jobs in the manifest"
set ylabel "jobs per second"
set logscale xy
set xrange [7:1400]
set grid
set key at screen 0.5, screen 0.01 center bottom maxrows 3 width -4
set bmargin 9
set xtics ("10" 10, "50" 50, "200" 200, "1,000" 1000)
stats datafile using 1 skip 1 nooutput
columns = STATS_columns
set style line 2 lw 2 pt 7 lc rgb "#1f77b4"
set style line 3 lw 2 pt 5 lc rgb "#2ca02c"
set style line 4 lw 1 dt 2 lc rgb "#d62728"
# Each way keeps its colour; the folders after the first are drawn dotted.
plot for [i=2:columns] datafile using 1:i with linespoints ls ((i - 2) % 3 + 2) dt 1 + 2 * (i > 4) \
     title columnheader(i)
