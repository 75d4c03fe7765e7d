-- Simulation model of BRAM_FIFO, one block RAM used as a FIFO of DEPTH words
-- of DATA_WIDTH bits (the low bits of DI and DO; the bits above read 0).
--
-- A word is written on a rising edge of WRCLK with WREN high and FULL low.
-- The read side runs on WRCLK when FIFO_MODE is SYNC and on RDCLK when ASYNC.
-- The flags follow the words held at once: FULL with DEPTH words,
-- ALMOSTFULL with DEPTH - ALMOST_FULL_OFFSET or more, ALMOSTEMPTY with
-- ALMOST_EMPTY_OFFSET or fewer.
--   - FIRST_WORD_FALL_THROUGH FALSE: EMPTY with no word; a rising edge of
--     the read clock with RDEN high and EMPTY low takes the next word to the
--     read latch, which DO shows after that edge (DO_REG 0) or after the next
--     edge, through the output register (DO_REG 1), which loads every edge.
--   - FIRST_WORD_FALL_THROUGH TRUE: the next word is on DO while EMPTY is
--     low, and a rising edge with RDEN high takes it. A word written into an
--     empty FIFO reaches DO on the first rising edge of the read clock after
--     the write (DO_REG 0), or on the second (DO_REG 1: the read latch and
--     the output register fill one after the other).
-- RST high clears the FIFO at once and holds it empty.
library ieee;
use ieee.std_logic_1164.all;

entity BRAM_FIFO is
    generic (
        FIFO_MODE : string := "SYNC";
        DATA_WIDTH : integer := 36;
        DEPTH : integer := 1024;
        FIRST_WORD_FALL_THROUGH : string := "FALSE";
        ALMOST_FULL_OFFSET : integer := 16;
        ALMOST_EMPTY_OFFSET : integer := 16;
        DO_REG : integer := 0
    );
    port (
        DI : in std_logic_vector(35 downto 0) := (others => '0');
        DO : out std_logic_vector(35 downto 0);
        WRCLK : in std_logic := '0';
        RDCLK : in std_logic := '0';
        WREN : in std_logic := '0';
        RDEN : in std_logic := '0';
        RST : in std_logic := '0';
        FULL : out std_logic;
        EMPTY : out std_logic;
        ALMOSTFULL : out std_logic;
        ALMOSTEMPTY : out std_logic
    );
end entity BRAM_FIFO;

architecture model of BRAM_FIFO is
    constant IS_ASYNC : boolean := FIFO_MODE = "ASYNC";
    constant IS_FWFT : boolean := FIRST_WORD_FALL_THROUGH = "TRUE";
    constant HAS_OUTREG : boolean := DO_REG = 1;
    subtype word_t is std_logic_vector(DATA_WIDTH - 1 downto 0);
    type mem_t is array (0 to DEPTH - 1) of word_t;

    signal mem : mem_t;
    signal written, fetched, taken : natural := 0;  -- words written, taken from the memory, taken by the reader
    signal latch, outreg : word_t := (others => '0');
    signal latch_full, outreg_full : boolean := false;  -- first word fall through: the stages hold a word
    signal full_i, empty_i : boolean;

    function to_sl(b : boolean) return std_logic is
    begin
        if b then
            return '1';
        end if;
        return '0';
    end function;
begin
    full_i <= written - taken >= DEPTH;
    empty_i <= not outreg_full when IS_FWFT and HAS_OUTREG else
               not latch_full when IS_FWFT else
               written = taken;
    FULL <= to_sl(full_i);
    EMPTY <= to_sl(empty_i);
    ALMOSTFULL <= to_sl(written - taken >= DEPTH - ALMOST_FULL_OFFSET);
    ALMOSTEMPTY <= to_sl(written - taken <= ALMOST_EMPTY_OFFSET);
    DO(35 downto DATA_WIDTH) <= (others => '0');
    DO(DATA_WIDTH - 1 downto 0) <= outreg when HAS_OUTREG else latch;

    write_side : process (WRCLK, RST)
    begin
        if RST = '1' then
            written <= 0;
        elsif rising_edge(WRCLK) and WREN = '1' and not full_i then
            mem(written mod DEPTH) <= DI(DATA_WIDTH - 1 downto 0);
            written <= written + 1;
        end if;
    end process;

    -- The read clock is taken as it comes, not through a signal of its own: a
    -- signal would move its edges a delta after the write clock's.
    read_side : process (WRCLK, RDCLK, RST)
        variable take, move, fetch : boolean;
    begin
        if RST = '1' then
            fetched <= 0;
            taken <= 0;
            latch_full <= false;
            outreg_full <= false;
        elsif (IS_ASYNC and rising_edge(RDCLK)) or (not IS_ASYNC and rising_edge(WRCLK)) then
            take := RDEN = '1' and not empty_i;
            if not IS_FWFT then
                if take then
                    latch <= mem(fetched mod DEPTH);
                    fetched <= fetched + 1;
                    taken <= taken + 1;
                end if;
                if HAS_OUTREG then
                    outreg <= latch;
                end if;
            else
                -- The output register takes the latch's word when it is free or taken.
                move := HAS_OUTREG and latch_full and (not outreg_full or take);
                if HAS_OUTREG then
                    fetch := written > fetched and (not latch_full or move);
                else
                    fetch := written > fetched and (not latch_full or take);
                end if;
                if take then
                    taken <= taken + 1;
                end if;
                if move then
                    outreg <= latch;
                end if;
                if HAS_OUTREG then
                    outreg_full <= move or (outreg_full and not take);
                end if;
                if fetch then
                    latch <= mem(fetched mod DEPTH);
                    fetched <= fetched + 1;
                end if;
                if HAS_OUTREG then
                    latch_full <= fetch or (latch_full and not move);
                else
                    latch_full <= fetch or (latch_full and not take);
                end if;
            end if;
        end if;
    end process;
end architecture model;
