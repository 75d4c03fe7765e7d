// What well-formed statements put into the container.

#include "ReaderTestUtil.h"

#include <gtest/gtest.h>

using dftest::Describe;
using dftest::ReadText;

namespace {

struct StatementCase {
    const char* what;
    std::string text;
    std::string model;  // Describe of the container read; its version was "kept" before
};

std::string Line255() {
    const std::string line = "PossibleValues: " + std::string(255 - 17, 'x') + ";";
    return "WizData: w;\nBlock: B;\nAttribute: A;\n \t" + line + " \t\nDefaultValue: 1;\nEndAttribute;\n";
}

TEST(ReaderStatements, ReadsEachStatementIntoTheModel) {
    const StatementCase cases[] = {
        {"the example file",
         "# clock manager primitives\nVersion: 1.0;\nWizData: tkl_bddeskew;\nBlock: TKL_ADV;\nPrimitive: TKL_ADV;\n"
         "InputPin: CLKIN; Signal=CLKIN_IN; SaveToKFZ=TRUE;\nOutputPin: STATUS; Width=[7:0]; HasBus=TRUE;\n"
         "BidirPin: IO; SaveToKFZ=FALSE;\nBlkFlags: HSX3; DATAWIDTH;\nAttribute: CLKOUT_DIVIDE;\n"
         "PossibleValues: 1,2,3,4;\nDefaultValue: 2;\nIsModifiable: FALSE;\nSaveToKFZ: FALSE;\nEndAttribute;\n"
         "EndBlock;\nSignal: CLKIN_IN;\nExternal: CLKIN_IN;\nBus: FALSE;\nEndSignal;\nEndWizData;\n",
         "wiz tkl_bddeskew v1.0\n"
         "block TKL_ADV TKL_ADV flags=HSX3;DATAWIDTH\n"
         " pin CLKIN IN 0:0 sig=CLKIN_IN\n"
         " pin STATUS OUT 7:0 bus\n"
         " pin IO INOUT 0:0 off\n"
         " attr CLKOUT_DIVIDE =2 4{1|2|3|4} fixed off\n"
         "signal CLKIN_IN ext port=CLKIN_IN\n"},
        {"keys match as prefixes; values end at ';', ',' or the line end; only spaces are trimmed",
         "WizData: w;\nBlockx: B1;\nAttributes: A;\nPossibleValues: 1, 2,3;\nPossibleValues: a;b;c\n"
         "DefaultValue: 5\nEndAttribute;\nAttribute: T;\nPossibleValues: x y ,\tz\t;\n"
         "DefaultValue: OLMRANGE=1:2; ignored after the value\nEndAttribute;\nEndBlock;\n"
         "Block: ;\nEndBlock;\nBlock; B3;\nEndBlock\n",
         "wiz w vkept\n"
         "block B1 \n"
         " attr A =5 6{1|2|3|a|b|c}\n"
         " attr T =OLMRANGE=1:2 2{x y|\tz\t}\n"
         "block  \n"
         "block B3 \n"},
        {"flag words keep empty pieces and their order",
         "WizData: w;\nBlock: B;\nBlkFlags: F1; ; F3;\nBlkFlags: F4\nEndBlock;\n",
         "wiz w vkept\nblock B  flags=F1;;F3;F4\n"},
        {"pin pairs; an unknown key swallows the pair after it; 'key=;' ends the line",
         "WizData: w;\nBlock: B;\nInputPin: G; Grounded=TRUE;\nInputPin: V; VCC=TRUE; Flag=DATAWIDTH; Flag=X;\n"
         "InputPin: T; Width=[3:0]; TIE=4'b1x00;\nInputPin: D; Foo=1; Width=4;\n"
         "InputPin: W; Width=8; Signal=S1; Grounded=FALSE;\nInputPin: E; Signal=S2; Width=;;\n"
         "InputPin: N; width=[0:0]; hasbus=true; saveToKfz=false;\nInputPin:;\nEndBlock;\n",
         "wiz w vkept\n"
         "block B \n"
         " pin G IN 0:0 gnd\n"
         "  attr OLM_PIN_GND_IN_DATAFILE = current=TRUE 1{TRUE}\n"
         " pin V IN 0:0 vcc flags=DATAWIDTH;X\n"
         "  attr OLM_PIN_VCC_IN_DATAFILE = current=TRUE 1{TRUE}\n"
         " pin T IN 3:0 bus\n"
         "  attr OLM_PIN_TIE = current=4'b1x00 1{4'b1x00}\n"
         " pin D IN 0:0\n"
         " pin W IN 0:7 bus sig=S1\n"
         " pin E IN 0:0 sig=S2\n"
         " pin N IN 0:0 bus off\n"},
        {"signal statements; a second section of a name fills the same signal",
         "WizData: w;\nSignal: S;\nExternal: CLK_OUT;\nBus: 8;\nGrounded: TRUE;\nSaveToKFZ: FALSE;\n"
         "Attribute: IOSTANDARD;\nPossibleValues: LVCMOS;\nDefaultValue: LVCMOS;\nEndAttribute;\nEndSignal;\n"
         "Signal: T;\nBus: TRUE;\nEndSignal;\nSignal: S;\nExternal: FALSE;\nBus: FALSE;\nEndSignal;\n"
         "Signal: U;\nBus: 12abc;\nExternal: false;\nGrounded: false;\nEndSignal;\nEndWizData;\n",
         "wiz w vkept\n"
         "signal S gnd off\n"
         " attr IOSTANDARD =LVCMOS 1{LVCMOS}\n"
         "signal T bus w=0\n"
         "signal U bus w=12\n"},
        {"a section of a signal, in any spelling, fills the first signal of the name, also one read before",
         "WizData: w;\nSignal: Pre;\nEndSignal;\nEndWizData;\nWizData: w;\nSignal: PRE;\nBus: 8;\nEndSignal;\n"
         "Signal: A;\nBus: 2;\nEndSignal;\nSignal: B;\nBus: 3;\nEndSignal;\nSignal: a;\nBus: 4;\nEndSignal;\n"
         "Signal: b;\nExternal: pad;\nEndSignal;\nSignal: C;\nBus: 5;\nEndSignal;\nSignal: c;\nBus: 6;\nEndSignal;\n",
         "wiz w vkept\nsignal Pre bus w=8\nsignal A bus w=4\nsignal B ext port=pad bus w=3\nsignal C bus w=6\n"},
        {"later WizData sections append; Version after EndWizData; a file ending inside a block keeps it",
         "WizData: first;\nBlock: A;\nEndBlock;\nEndWizData;\nWizData: second;\nBlock: B;\nEndBlock;\nEndWizData;\n"
         "Version: 2.5;\nWizData: third;\nBlock: C;\nPrimitive: P;\n",
         "wiz third v2.5\nblock A \nblock B \nblock C P\n"},
        {"comments, separator lines and unknown keys inside WizData",
         "#comment at file level\n\t \n:;:\nWizData: w;\n  # indented: a statement, ignored inside WizData\n"
         "Whatever: x;\nBlock: B;\n# Primitive: NOT_READ;\nEndBlock;\n",
         "wiz w vkept\nblock B \n"},
        {"a line of exactly 255 characters after trimming", Line255(),
         "wiz w vkept\nblock B \n attr A =1 1{" + std::string(255 - 17, 'x') + "}\n"},
    };
    for (const StatementCase& c : cases) {
        SCOPED_TRACE(c.what);
        Olm_WizData wd;
        wd.SetVersion("kept");
        const auto r = ReadText(c.text, wd);
        EXPECT_TRUE(r.ok);
        EXPECT_TRUE(r.reports.empty()) << r.reports.front();
        EXPECT_EQ(Describe(wd), c.model);
    }
}

}  // namespace
