#pragma once

// The shared constants of the wizard library: wizard-type keys, data-file
// names, device families, synthesis tools, design-file property keys and
// reserved attribute names. Each is a named constant of its own; code compares
// with or copies the one it needs. Kept in one place, in one order.
#include "engine/Olm_EngineProtocol.h"

namespace OlmConst {

inline constexpr const char* kLineBreak = "\r\n";  // line break in texts shown to the user
inline constexpr const char* kFalse = "FALSE";
inline constexpr const char* kTrue = "TRUE";
inline constexpr const char* kExtKfz = ".kfz";
inline constexpr const char* kExtTxt = ".txt";
inline constexpr const char* kExtVhdl = ".vhd";
inline constexpr const char* kExtVerilog = ".v";
inline constexpr const char* kLangVhdl = "vhdl";
inline constexpr const char* kLangVerilog = "verilog";
inline constexpr const char* kLangEdif = "edif";
inline constexpr const char* kDfnTkl = "olm_tkl.dfn";
inline constexpr const char* kTklFirstCopy = "tkl";
inline constexpr const char* kDfnHsx = "olm_hsx.dfn";
inline constexpr const char* kHsxFirstCopy = "hsx";
inline constexpr const char* kDfnHsx11 = "olm_hsx11.dfn";
inline constexpr const char* kDfnDsp = "olm_dsp.dfn";
inline constexpr const char* kWizPrefixTkl = "tkl";  // clock-manager wizard types
inline constexpr const char* kDfnSsio = "olm_ssio.dfn";

inline constexpr const char* kFamilyAselka3e = "aselka3e";
inline constexpr const char* kFamilyAselka3 = "aselka3";
inline constexpr const char* kFamilySelka3 = "selka3";
inline constexpr const char* kFamilySelka3e = "selka3e";
inline constexpr const char* kFamilySelka3a = "selka3a";
inline constexpr const char* kFamilySelka3adsp = "selka3adsp";
inline constexpr const char* kFamilyAselka3a = "aselka3a";
inline constexpr const char* kFamilyAselka3adsp = "aselka3adsp";
inline constexpr const char* kFamilySelka3an = "selka3an";
inline constexpr const char* kFamilyGroupKorvo4Korvo5 = "korvo4korvo5";
inline constexpr const char* kFamilyKorvo5 = "korvo5";
inline constexpr const char* kFamilyQkorvo5 = "qkorvo5";
inline constexpr const char* kFamilyQrkorvo5 = "qrkorvo5";
inline constexpr const char* kFamilyKorvo4 = "korvo4";
inline constexpr const char* kFamilyKorvo2 = "korvo2";
inline constexpr const char* kFamilyKorvo2p = "korvo2p";
inline constexpr const char* kFamilyQkorvo2p = "qkorvo2p";
inline constexpr const char* kFamilyQkorvo2 = "qkorvo2";
inline constexpr const char* kFamilyQrkorvo2 = "qrkorvo2";
inline constexpr const char* kFamilyQrkorvo4 = "qrkorvo4";
inline constexpr const char* kFamilyQkorvo4 = "qkorvo4";
inline constexpr const char* kFamilyAkorvo4 = "akorvo4";

inline constexpr const char* kShortTklPll = "tklpll";
inline constexpr const char* kShortTklD2p = "tkld2p";
inline constexpr const char* kShortTklP2d = "tklp2d";
inline constexpr const char* kShortTklBd = "tklbd";
inline constexpr const char* kShortTklCs = "tklcs";
inline constexpr const char* kShortTklCf = "tklcf";
inline constexpr const char* kShortTklCa = "tklca";
inline constexpr const char* kShortDspMul = "dspmul";
inline constexpr const char* kShortDspMac = "dspmac";
inline constexpr const char* kShortDspAdd = "dspadd";
inline constexpr const char* kShortDspAcc = "dspacc";
inline constexpr const char* kShortDspMux = "dspmux";
inline constexpr const char* kShortDspCnt = "dspcnt";
inline constexpr const char* kShortSsioMem = "ssiomem";
inline constexpr const char* kShortSsioNon = "ssionon";
inline constexpr const char* kWizUnknown = "Unknown";

inline constexpr const char* kWizTklBdDeskew = "tkl_bddeskew";
inline constexpr const char* kWizTklClkSwitch = "tkl_clkswitch";
inline constexpr const char* kWizTklClkFwd = "tkl_clkfwd";
inline constexpr const char* kWizTklCascading = "tkl_cascading";
inline constexpr const char* kWizTklPll = "tkl_pll";
inline constexpr const char* kWizTklTkl2Pll = "tkl_tkl2pll";
inline constexpr const char* kWizPrefixHsx = "hsx";  // the transceiver wizard type
inline constexpr const char* kWizTklPll2Tkl = "tkl_pll2tkl";
inline constexpr const char* kWizPrefixDsp = "dsp";
inline constexpr const char* kWizDspMult = "dsp_mult";
inline constexpr const char* kWizDspMac = "dsp_mac";
inline constexpr const char* kWizDspAdd = "dsp_add";
inline constexpr const char* kWizDspAccum = "dsp_accum";
inline constexpr const char* kWizDspMux = "dsp_mux";
inline constexpr const char* kWizDspCounter = "dsp_counter";
inline constexpr const char* kWizPrefixSsi = "ssi";
inline constexpr const char* kWizSsioMem = "ssio_mem";
inline constexpr const char* kWizSsioNonMem = "ssio_nonmem";

inline constexpr const char* kSynthBqm = "BQM";
inline constexpr const char* kSynthFpgaCompilerII = "FPGA_CompilerII";
inline constexpr const char* kSynthDcFpga = "dcfpga";
inline constexpr const char* kSynthFpgaExpress = "FPGA_Express";
inline constexpr const char* kSynthSynplicity = "Synplicity";
inline constexpr const char* kSynthSynplify = "Synplify";
inline constexpr const char* kSynthSynplifyPro = "SynplifyPro";
inline constexpr const char* kTklFirstWord = "TKL";
inline constexpr const char* kSynthLeonardo = "Leonardo";
inline constexpr const char* kSynthLeonardoSpectrum = "LeonardoSpectrum";
inline constexpr const char* kSynthPrecision = "Precision";

inline constexpr const char* kRangeMarker = "OLMRANGE";
inline constexpr const char* kHsx3FirstCopy = "HSX3";
inline constexpr const char* kHsx10FirstCopy = "HSX10";
inline constexpr const char* kHsx11FirstCopy = "HSX11";
inline constexpr const char* kWordKdiv = "KDIV";
inline constexpr const char* kWordPll = "PLL";
inline constexpr const char* kWordAdv = "ADV";
inline constexpr const char* kWordDsp = "DSP";
inline constexpr const char* kWordT5sp = "T5SP";
inline constexpr const char* kWordSsio = "SSIO";
inline constexpr const char* kWordTkl = "TKL";
inline constexpr const char* kWordTklSp = "TKL_SP";
inline constexpr const char* kWordTklAdv = "TKL_ADV";
inline constexpr const char* kTopBlockName = "TOP";
inline constexpr const char* kToolSuffix = "olmw";
inline constexpr const char* kVersion10 = "version 1.0";
inline constexpr const char* kView1 = "VIEW1";

inline constexpr const char* kKfzDirInput = OlmProtocol::kDirInput;
inline constexpr const char* kKfzDirOutput = OlmProtocol::kDirOutput;
inline constexpr const char* kKfzDirBidir = OlmProtocol::kDirBidir;
inline constexpr const char* kDirIn = "IN";
inline constexpr const char* kDirOut = "OUT";
inline constexpr const char* kDirInout = "INOUT";
inline constexpr const char* kBlockInput = "BLOCK_INPUT";
inline constexpr int kIntOne = 1;  // the modal wait dialog's "process ended" result
inline constexpr const char* kBlockOutput = "BLOCK_OUTPUT";
inline constexpr const char* kBlockBidir = "BLOCK_BIDIR";
inline constexpr int kIntMinusOne = -1;

inline constexpr const char* kInternalPrefixOlmwOnly = "OLMW_ONLY";
inline constexpr const char* kInternalPrefixOlm = "OLM_";
inline constexpr const char* kKeyPrimType = OlmProtocol::kKeyPrimType;
inline constexpr const char* kKeyKfzVersion = "KFZ_VERSION";
inline constexpr int kRunAbandoned = 1;  // result of a wizard run left without finishing
inline constexpr const char* kPropHsx3 = "PROP_HSX3";
inline constexpr const char* kPropHsx10 = "PROP_HSX10";
inline constexpr const char* kPropHsx11 = "PROP_HSX11";
inline constexpr const char* kPropDataWidth = "PROP_DATAWIDTH";
inline constexpr const char* kKeyPinWidth = OlmProtocol::kKeyPinWidth;
inline constexpr const char* kPropPinIsActive = "PROP_PINISACTIVE";
inline constexpr const char* kKeySigExternal = OlmProtocol::kKeySigExternal;
inline constexpr int kRunFailed = -1;  // result of a failed wizard run
inline constexpr const char* kKeySigIsGnded = OlmProtocol::kKeySigIsGnded;
inline constexpr const char* kKeySigIsBus = OlmProtocol::kKeySigIsBus;
inline constexpr const char* kKeySigIsVcc = OlmProtocol::kKeySigIsVcc;
inline constexpr const char* kKeyPinIsGnded = OlmProtocol::kKeyPinIsGnded;
inline constexpr const char* kKeyPinIsVcc = OlmProtocol::kKeyPinIsVcc;
inline constexpr const char* kKeyPinHasBus = OlmProtocol::kKeyPinHasBus;
inline constexpr const char* kKeyOlmWiz = "OLMWIZ";
inline constexpr const char* kKeyOlmPart = "OLM_PART";
inline constexpr const char* kKeyOlmFlowType = "OLM_FLOWTYPE";
inline constexpr const char* kKeyOlmSynthTool = "OLM_SYNTHTOOL";
inline constexpr const char* kAttrInstNum = "OLMW_ONLY_INST_NUM";
inline constexpr const char* kAttrPinSigBitPrefix = "OLMW_ONLY_PIN_SIG_BIT_";
inline constexpr const char* kAttrPinUse1SigBit = "OLM_PIN_USE_1SIG_BIT";
inline constexpr const char* kAttrAssocWith = "ASSOC_WITH";
inline constexpr const char* kAttrAssocFrom = "OLMW_ONLY_ASSOC_FROM";
inline constexpr const char* kAttrSetClkBufPrefix = "OLMW_ONLY_SETCLKBUF_";
inline constexpr const char* kFlagHsx3 = "HSX3";
inline constexpr const char* kFlagHsx10 = "HSX10";
inline constexpr const char* kFlagHsx11 = "HSX11";
inline constexpr const char* kFlagDataWidth = "DATAWIDTH";

// Names the data-file reader and the design-file bridge give to what the
// installed data said about a pin, and other reserved names used across modules.
inline constexpr const char* kAttrPinGndInDataFile = "OLM_PIN_GND_IN_DATAFILE";
inline constexpr const char* kAttrPinVccInDataFile = "OLM_PIN_VCC_IN_DATAFILE";
inline constexpr const char* kAttrPinTie = "OLM_PIN_TIE";
inline constexpr const char* kAttrHsxDisplayName = "HSX_DISPLAY_NAME";

// The installed data files that Olm_Data::DataFileName chooses by wizard type.
// (The ".dfn" names above are older names of the same files; nothing reads
// them.)
inline constexpr const char* kDevTkl = "olm_tkl.dev";
inline constexpr const char* kDevHsx = "olm_hsx.dev";
inline constexpr const char* kDevHsx11 = "olm_hsx11.dev";
inline constexpr const char* kDevDsp = "olm_dsp.dev";
inline constexpr const char* kDevSsio = "olm_ssio.dev";

}  // namespace OlmConst
