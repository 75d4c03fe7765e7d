-- The clock buffers, the same checks as tb_kbuf.v: KBUFG and KOBUF pass I;
-- KBUFGCE stops and starts without a short pulse with CE_TYPE SYNC and at
-- once with ASYNC; KBUFGMUX switches at a falling edge of O with SYNC
-- (waiting, low, for the new clock to be low) and at once with ASYNC.
-- Clock i: 10 ns, j: 36 ns.
library ieee;
use ieee.std_logic_1164.all;

entity tb_kbuf is
end entity tb_kbuf;

architecture test of tb_kbuf is
    signal i, j, s : std_logic := '0';
    signal ce : std_logic := '1';
    signal og, oo, gs, ga, ms, ma : std_logic;
    signal short_gs, short_ms : boolean := false;
begin
    i <= not i after 5 ns;
    j <= not j after 18 ns;

    g : entity work.KBUFG port map (I => i, O => og);
    ob : entity work.KOBUF port map (I => i, O => oo);
    ces : entity work.KBUFGCE port map (I => i, CE => ce, O => gs);
    cea : entity work.KBUFGCE generic map (CE_TYPE => "ASYNC") port map (I => i, CE => ce, O => ga);
    mxs : entity work.KBUFGMUX port map (I0 => i, I1 => j, S => s, O => ms);
    mxa : entity work.KBUFGMUX generic map (CLK_SEL_TYPE => "ASYNC") port map (I0 => i, I1 => j, S => s, O => ma);

    -- No level of a synchronous output lasts less than half a period of i.
    watch_gs : process (gs)
        variable last : time := 0 ns;
    begin
        if now > 0 ns and now - last < 5 ns then
            report "FAIL: KBUFGCE SYNC pulse at " & time'image(now);
            short_gs <= true;
        end if;
        last := now;
    end process;
    watch_ms : process (ms)
        variable last : time := 0 ns;
    begin
        if now > 0 ns and now - last < 5 ns then
            report "FAIL: KBUFGMUX SYNC pulse at " & time'image(now);
            short_ms <= true;
        end if;
        last := now;
    end process;

    main : process
        variable failures : natural := 0;
        procedure expect(what : string; got, want : std_logic) is
        begin
            if got /= want then
                report "FAIL: " & what & " at " & time'image(now) & ": " & std_logic'image(got) & ", expected " &
                    std_logic'image(want);
                failures := failures + 1;
            end if;
        end procedure;
    begin
        wait for 6 ns;
        expect("KBUFG", og, '1');
        expect("KOBUF", oo, '1');
        wait for 10 ns;
        expect("CE sync on", gs, '1');
        -- CE falls while i is high (35 to 40 ns).
        wait for 21.5 ns;
        ce <= '0';
        wait for 0.5 ns;
        expect("CE sync off high", gs, '1');
        expect("CE async off", ga, '0');
        wait for 8 ns;
        expect("CE sync off", gs, '0');
        -- CE rises while i is high (55 to 60 ns): on from the fall at 60 ns.
        wait for 11.5 ns;
        ce <= '1';
        wait for 0.5 ns;
        expect("CE sync on high", gs, '0');
        expect("CE async on", ga, '1');
        wait for 8 ns;
        expect("CE sync back", gs, '1');
        -- S rises with i high and j low: the switch waits for i to fall.
        wait for 11.5 ns;
        s <= '1';
        wait for 0.5 ns;
        expect("mux sync before", ms, '1');
        expect("mux async", ma, '0');
        wait for 8 ns;
        expect("mux sync i hidden", ms, '0');
        wait for 5 ns;
        expect("mux sync j", ms, '1');
        -- S falls with j high; at its fall (108 ns) i is high: O stays low
        -- until i falls (110 ns) and follows i from then.
        wait for 1.5 ns;
        s <= '0';
        wait for 0.5 ns;
        expect("mux sync j held", ms, '1');
        expect("mux async back", ma, '0');
        wait for 16 ns;
        expect("mux sync hold", ms, '0');
        wait for 7 ns;
        expect("mux sync i", ms, '1');
        if failures = 0 and not short_gs and not short_ms then
            report "PASS";
        else
            report "FAIL";
        end if;
        std.env.finish;
    end process;
end architecture test;
