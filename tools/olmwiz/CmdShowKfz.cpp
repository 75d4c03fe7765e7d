// olmwiz show-kfz FILE: prints a design file as a readable outline: device
// settings, blocks with their pins and properties, signals.

#include "CommandLine.h"
#include "Commands.h"

#include "engine/Olm_Engine.h"

#include <cstdio>
#include <string>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz show-kfz FILE\n\n"
    "Prints a design file (KFZ) as an outline: the device settings, the design\n"
    "version, every block with its properties and pins, and every signal.\n\n"
    "Options:\n"
    "  -h, --help   show this help\n\n"
    "Exit codes: 0 printed, 1 the file could not be loaded, 2 wrong usage.\n";

std::string Or(const Pal::String& text, const char* none) { return text.IsEmpty() ? none : text.str(); }

void PrintProperties(const Olm_KfzPropertyList& properties, const char* indent) {
    for (const auto& property : properties) {
        std::printf("%s%s = %s\n", indent, property.name.c_str(), property.value.c_str());
    }
}

void PrintPin(const Olm_KfzPin& pin) {
    std::string line = "    pin " + pin.name.str() + " " + Or(pin.direction, "(no direction)");
    if (pin.hasWidth) line += " " + pin.width.str();
    if (pin.hasBus) line += " bus";
    if (pin.isVcc) line += " tied to VCC";
    if (pin.isGnded) line += " tied to ground";
    if (!pin.signal.IsEmpty()) line += " -> " + pin.signal.str();
    std::printf("%s\n", line.c_str());
    PrintProperties(pin.properties, "      ");
}

void PrintOutline(const char* path, const Olm_KfzDesign& design) {
    std::printf("Design file: %s\n", path);
    std::printf("Device: family %s, part %s, device %s, speed %s\n", Or(design.device.family, "-").c_str(),
                Or(design.device.part, "-").c_str(), Or(design.device.device, "-").c_str(),
                Or(design.device.speed, "-").c_str());
    std::printf("Design version: %s\n", Or(design.version, "-").c_str());
    std::printf("Blocks: %zu\n", design.blocks.size());
    for (const auto& block : design.blocks) {
        std::printf("  block %s (%s)\n", block.name.c_str(), Or(block.primType, "no type").c_str());
        PrintProperties(block.properties, "    ");
        for (const auto& pin : block.pins) PrintPin(pin);
    }
    std::printf("Signals: %zu\n", design.nets.size());
    for (const auto& signal : design.nets) {
        std::string line = "  signal " + signal.name.str();
        if (signal.isExternal) line += " external " + Or(signal.externalName, "(no name)");
        if (signal.isBus) line += " bus " + std::to_string(signal.busWidth);
        if (signal.isVcc) line += " VCC";
        if (signal.isGnded) line += " ground";
        std::printf("%s\n", line.c_str());
        PrintProperties(signal.properties, "    ");
    }
}

}  // namespace

int RunShowKfz(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz show-kfz", kHelp);
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    if (parser.Positional().size() != 1) return parser.Usage("give exactly one design file");
    const std::string& path = parser.Positional().front();
    Olm_Engine engine;
    Pal::String error;
    if (!engine.Load(path.c_str(), &error)) return parser.Fail(error.str());
    PrintOutline(path.c_str(), engine.GetDesign());
    return kExitOk;
}

}  // namespace olmwiz
