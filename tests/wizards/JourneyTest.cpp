// Journeys through each reference wizard's window: what the designer types
// is filtered, a wrong value is marked at once with its reason, every
// problem of the page is listed, Next waits until there is none, and the
// files written at Finish are those of a batch run of the same settings.
#include "JourneySupport.h"

#include "kit/Olm_KitGui.h"

#include <QLocale>
#include <QToolButton>

namespace {

using journey::CanMoveOn;
using journey::Choices;
using journey::Choose;
using journey::Field;
using journey::Marked;
using journey::MoveOn;
using journey::MoveOnTo;
using journey::Problems;
using journey::Reason;
using journey::Text;
using journey::Tick;
using journey::Type;

// Numbers are read in the C locale unless a test chooses another.
class Journey : public guitest::GuiTest {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        guitest::GuiTest::TearDown();
    }
};

TEST_F(Journey, MultiplierProductFollowsTheOperandsUntilUnlocked) {
    journey::ExpectSameAsBatch({"dsp_mult", "", [](Nx_Wizard& w) {
        int changes = 0;
        dynamic_cast<Olm_KitGui&>(*w.currentNxPage()).OnFieldsChanged([&changes](const Olm_FieldValues&, bool) {
            ++changes;
        });
        Type(w, "A_WIDTH", "1x2");
        EXPECT_EQ(changes, 3) << "a listener hears each change: the erasing, 1 and 2";
        EXPECT_EQ(Text(w, "A_WIDTH"), "12") << "a letter is not taken";
        EXPECT_EQ(Text(w, "P_WIDTH"), "30") << "the product follows the operands";
        EXPECT_TRUE(Field<QLineEdit>(w, "P_WIDTH")->isReadOnly());

        Type(w, "A_WIDTH", "12,5");
        EXPECT_EQ(Reason(w, "A_WIDTH"),
                  "Operand A width: the comma in '12,5' is no decimal separator here; write the number with a point.");
        Type(w, "A_WIDTH", "40");
        EXPECT_TRUE(Marked(w, "A_WIDTH"));
        EXPECT_EQ(Reason(w, "A_WIDTH"), "Operand A width must be 2 to 18 bits.");
        EXPECT_EQ(Problems(w), QStringList({"\u2022 Operand A width must be 2 to 18 bits.",
                                            "\u2022 Product width must be 2 to 48 bits."}))
            << "every problem, the derived product's too";
        EXPECT_FALSE(CanMoveOn(w));

        Type(w, "A_WIDTH", "12");
        Type(w, "B_WIDTH", "10");
        EXPECT_EQ(Text(w, "P_WIDTH"), "22");
        EXPECT_FALSE(Marked(w, "A_WIDTH"));
        EXPECT_TRUE(Problems(w).isEmpty());
        Field<QToolButton>(w, "P_WIDTH_lock")->click();
        Type(w, "P_WIDTH", "30");
        EXPECT_EQ(Reason(w, "P_WIDTH"), "The product width 30 is larger than the full product of 12 x 10 bits (22 bits).");
        EXPECT_FALSE(CanMoveOn(w));
        Type(w, "P_WIDTH", "20");
        Type(w, "B_WIDTH", "11");
        EXPECT_EQ(Text(w, "P_WIDTH"), "20") << "an unlocked product keeps what was typed";
        Type(w, "B_WIDTH", "10");
        MoveOn(w);

        Choose(w, "A_PIPE", "2");
        EXPECT_EQ(Field<QLabel>(w, "note1")->text().toStdString(),
                  "Operand A passes 2 and operand B 1 input registers: present operand B 1 clock cycle after operand "
                  "A so that they are multiplied together.");
        Choose(w, "A_PIPE", "1");
        auto* reset = Field<QComboBox>(w, "RESET_TYPE");
        const QString before = reset->currentText();
        journey::WheelOver(reset);
        EXPECT_EQ(reset->currentText(), before) << "the wheel over an unfocused combo box scrolls the page";
        journey::Finish(w);
    },
    "BlockProp: DSP.*.A_WIDTH=12;\nBlockProp: DSP.*.B_WIDTH=10;\nBlockProp: DSP.*.P_WIDTH=20;\n"});
}

TEST_F(Journey, TransceiverLineRateTakesTheLocalesDecimalComma) {
    journey::ExpectSameAsBatch({"hsx", "", [](Nx_Wizard& w) {
        MoveOnTo(w, "Line Rate");
        Type(w, "LINE_RATE", "2,5");
        EXPECT_EQ(Reason(w, "LINE_RATE"),
                  "Line rate: the comma in '2,5' is no decimal separator here; write the number with a point.");
        EXPECT_FALSE(CanMoveOn(w));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Type(w, "LINE_RATE", "3,125");
        EXPECT_FALSE(Marked(w, "LINE_RATE")) << Reason(w, "LINE_RATE");
        Type(w, "LINE_RATE", "5");
        EXPECT_EQ(Reason(w, "LINE_RATE"), "Line rate must be 0.6 to 3.125 Gbit/s.");
        Type(w, "LINE_RATE", "3,125");
        auto* refclk = Field<QComboBox>(w, "REFCLK_FREQ");
        const QString before = refclk->currentText();
        journey::WheelOver(refclk);
        EXPECT_EQ(refclk->currentText(), before);
        MoveOn(w);
        QLocale::setDefault(QLocale::c());
        journey::Finish(w);
    },
    "BlockProp: HSX3.*.LINE_RATE=3.125;\n"});
}

TEST_F(Journey, ReceiverBitRateAndRatiosOfTheDataRate) {
    journey::ExpectSameAsBatch({"ssio_rx", "", [](Nx_Wizard& w) {
        Type(w, "OLMW_ONLY_BIT_RATE", "abc");
        EXPECT_EQ(Reason(w, "OLMW_ONLY_BIT_RATE"), "Bit rate per line must be a number from 10 to 1600 Mb/s.");
        Type(w, "OLMW_ONLY_BIT_RATE", "5000");
        EXPECT_EQ(Reason(w, "OLMW_ONLY_BIT_RATE"), "Bit rate per line must be 10 to 1600 Mb/s.");
        EXPECT_FALSE(CanMoveOn(w));
        Type(w, "OLMW_ONLY_BIT_RATE", "600");
        EXPECT_TRUE(CanMoveOn(w)) << Problems(w).join(" | ").toStdString();
        Choose(w, "DATA_RATE", "SDR");
        EXPECT_EQ(Choices(w, "DATA_WIDTH"), QStringList({"2", "3", "4", "5", "6", "7", "8"}));
        Choose(w, "DATA_RATE", "DDR");
        EXPECT_EQ(Choices(w, "DATA_WIDTH"), QStringList({"4", "6", "8", "10"})) << "DDR takes even ratios";
        journey::Finish(w);
    },
    "BlockProp: ISER.*.OLMW_ONLY_BIT_RATE=600;\n"});
}

TEST_F(Journey, TransmitterOffersOnlyTristateWidthsThatFit) {
    journey::ExpectSameAsBatch({"ssio_tx", "", [](Nx_Wizard& w) {
        MoveOnTo(w, "Tristate Output");
        Tick(w, "OLMW_ONLY_USE_TRISTATE", true);
        Choose(w, "DATA_RATE_TRI", "BUF");
        EXPECT_TRUE(Marked(w, "TRI_WIDTH")) << "4 bits do not pass an unregistered path";
        EXPECT_EQ(Choices(w, "TRI_WIDTH"), QStringList({"1", "4"})) << "the value shown stays, marked";
        EXPECT_FALSE(CanMoveOn(w));
        Choose(w, "TRI_WIDTH", "1");
        EXPECT_EQ(Choices(w, "TRI_WIDTH"), QStringList({"1"}));
        journey::Finish(w);
    },
    "BlockProp: OSER.*.OLMW_ONLY_USE_TRISTATE=TRUE;\nBlockProp: OSER.*.DATA_RATE_TRI=BUF;\n"
    "BlockProp: OSER.*.TRI_WIDTH=1;\n"});
}

TEST_F(Journey, PllOutputsNeedOneClockAndPortsOfTheirOwn) {
    journey::ExpectSameAsBatch({"tkl_pll", "", [](Nx_Wizard& w) {
        const QString input = Text(w, "OLMW_ONLY_CLKIN1_PORT");
        MoveOnTo(w, "Output Clocks");
        Tick(w, "OLMW_ONLY_CLKOUT0_USED", false);
        EXPECT_TRUE(Problems(w).contains("\u2022 Enable at least one output clock.")) << Problems(w).join(" | ").toStdString();
        EXPECT_FALSE(CanMoveOn(w));
        Tick(w, "OLMW_ONLY_CLKOUT0_USED", true);
        Type(w, "CLKOUT0_PHASE", "400");
        EXPECT_EQ(Reason(w, "CLKOUT0_PHASE"), "CLKOUT0 phase must be -360 to 360 deg.");
        Type(w, "CLKOUT0_PHASE", "0");
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Type(w, "CLKOUT0_DUTY", "0,5");
        EXPECT_FALSE(Marked(w, "CLKOUT0_DUTY")) << Reason(w, "CLKOUT0_DUTY");
        Type(w, "OLMW_ONLY_CLKOUT0_FREQ", "10x0,0");
        EXPECT_EQ(Text(w, "OLMW_ONLY_CLKOUT0_FREQ"), "100,0") << "a frequency takes what a number takes";
        EXPECT_TRUE(Problems(w).isEmpty()) << Problems(w).join(" | ").toStdString();
        Type(w, "OLMW_ONLY_CLKOUT0_PORT", input);
        EXPECT_TRUE(Marked(w, "OLMW_ONLY_CLKOUT0_PORT"));
        EXPECT_FALSE(CanMoveOn(w));
        Type(w, "OLMW_ONLY_CLKOUT0_PORT", "clk_main");
        MoveOn(w);
        QLocale::setDefault(QLocale::c());
        journey::Finish(w);
    },
    "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=clk_main;\n"});
}

TEST_F(Journey, GenericPagesCheckEveryAttributeOfTheData) {
    journey::ExpectSameAsBatch({"generic", "dsp_any", [](Nx_Wizard& w) {
        Type(w, "A_WIDTH", "40");
        EXPECT_TRUE(Marked(w, "A_WIDTH"));
        EXPECT_NE(Reason(w, "A_WIDTH").find("must be 2 to 18"), std::string::npos) << Reason(w, "A_WIDTH");
        EXPECT_FALSE(CanMoveOn(w));
        Type(w, "A_WIDTH", "12");
        journey::Finish(w);
    },
    "BlockProp: DSP.*.A_WIDTH=12;\n"});
}

}  // namespace
