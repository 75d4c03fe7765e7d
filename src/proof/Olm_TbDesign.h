#pragma once

#include "engine/Olm_KfzDesign.h"
#include "shared/OlmBaseExport.h"
#include "translator/Olm_HdlDesign.h"

#include <string>
#include <vector>

// A design as its testbench sees it: the wrapper's ports and instances (the
// netlist view the HDL writers print, built from the design file) and the
// blocks' properties in the design file, with the wizard's requests (the
// OLMW_ONLY_ properties) that the wrapper does not carry.
class OLM_BASE_EXPORT Olm_TbDesign {
public:
    // False with error saying why when the design file cannot be read as a
    // wrapper.
    bool Build(const Olm_KfzDesign& kfz, const std::string& designName, std::string& error);

    const std::string& Name() const { return m_view.name; }
    const Olm_HdlDesign& View() const { return m_view; }

    // The instances of a primitive type (letter case ignored), in order.
    std::vector<const Olm_HdlInstance*> Instances(const std::string& primitive) const;
    // Whether the design has an instance of a primitive type.
    bool Has(const std::string& primitive) const { return !Instances(primitive).empty(); }

    // A property of an instance's block in the design file (its parameters
    // and the wizard's requests), else fallback.
    std::string Value(const Olm_HdlInstance& instance, const std::string& name, const std::string& fallback) const;
    // The same as a number; fallback when missing or not a number.
    double Number(const Olm_HdlInstance& instance, const std::string& name, double fallback) const;
    // The same as a boolean ("TRUE", letter case ignored); fallback when missing.
    bool Flag(const Olm_HdlInstance& instance, const std::string& name, bool fallback) const;

    // The wrapper port that the low bits of a pin reach (bit i of the pin on
    // bit i of the port, the bits above tied or open, as a narrower port is
    // padded), passing through buffers (instances with one input and one
    // output pin on nets); "" when the pin is tied, open or split.
    std::string PortOf(const Olm_HdlInstance& instance, const std::string& pin) const;
    const Olm_HdlPort* FindPort(const std::string& name) const;
    // Whether the wrapper has a port of that name and width (with wider, of
    // at least that width); false for an empty name.
    bool HasPort(const std::string& name, int width, bool wider = false) const;
    // The width of a pin of an instance; 0 when the instance has no such pin.
    int PinWidth(const Olm_HdlInstance& instance, const std::string& pin) const;

private:
    const Olm_KfzBlock* BlockOf(const Olm_HdlInstance& instance) const;
    std::string NetOfPin(const Olm_HdlInstance& instance, const std::string& pin) const;
    std::string ThroughBuffers(std::string net, bool forward, int depth) const;

    Olm_HdlDesign m_view;
    Olm_KfzDesign m_kfz;
};
