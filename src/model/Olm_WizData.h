#pragma once

#include "model/Olm_Block.h"
#include "model/Olm_Signal.h"

// The whole model of one wizard's design: wizard type, version text, blocks
// and signals. Owns its blocks and signals: the pointers its lists, lookups
// and create-or-reuse operations give stay the container's, valid until the
// block is deleted or the container is destroyed. Lookups take the first match.
class OLM_BASE_EXPORT Olm_WizData {
public:
    Olm_WizData();
    explicit Olm_WizData(Pal::String wizType);
    // Deep copy of both strings, every block, then every signal.
    Olm_WizData(const Olm_WizData& other) = default;
    // Deep copy; the target's old blocks and signals are deleted.
    Olm_WizData& operator=(const Olm_WizData& other) = default;
    // Deletes the blocks, then the signals.
    virtual ~Olm_WizData();

    const Pal::String& GetWizType() const { return m_wizType; }
    void SetWizType(Pal::String wizType);
    const Pal::String& GetVersion() const { return m_version; }
    void SetVersion(Pal::String version);

    Olm_BlockList& GetBlkList() { return m_blocks; }
    const Olm_BlockList& GetBlkList() const { return m_blocks; }
    Olm_SignalList& GetSigList() { return m_signals; }
    const Olm_SignalList& GetSigList() const { return m_signals; }

    // Appends and takes ownership; deactivate switches the block off.
    void AddBlock(Olm_Block* block, bool deactivate);
    // The existing block of that name and type (reactivated), null when the
    // name has another type, or a new block appended.
    Olm_Block* AddBlock(Pal::String name, Pal::String primType);
    // Appends and takes ownership; null is ignored.
    void AddSignal(Olm_Signal* signal);
    // The existing signal of that name (reactivated) or a new one; either way
    // it takes the external setting given.
    Olm_Signal* AddSignal(Pal::String name, bool external, Pal::String externalName);
    // Replaces any block named newName with a deep copy of source under that
    // name, appended at the end. Works when source is itself that block.
    Olm_Block* CopyBlock(Olm_Block* source, Pal::String newName);
    // Deletes the block only when it is in the list; otherwise the caller
    // keeps it.
    void DeleteBlock(Olm_Block* block);

    Olm_Block* GetActiveBlock();
    Olm_Block* GetActiveBlock(Pal::String primType);
    Olm_Block* GetPrimitiveBlock(Pal::String primType);
    Olm_Block* GetNamedBlock(Pal::String name);
    Olm_Signal* GetNamedSignal(Pal::String name);
    Olm_Block* GetTopBlock();
    void SetAllBlksIsActive(bool active);
    void SetAllSigsIsActive(bool active);

    // True when no signal (block) has the name. Otherwise, with makeUnique,
    // the name becomes the first free of name1 .. name99 (unchanged when all
    // are taken); the result is still false.
    bool IsSigNameUnique(Pal::String& name, bool makeUnique);
    bool IsBlockNameUnique(Pal::String& name, bool makeUnique);

    bool SetBlkAttributeValue(Pal::String blockName, Pal::String attrName, Pal::String value);
    void ClearAllBlksPinSignals();

    // Primitive conversion and instance numbers.
    Olm_Block* GetActiveBlockInstNum(Pal::String primType, int instNum);
    Olm_Block* GetBlockInstNum(Pal::String primType, int instNum);
    Olm_Block* ConvertActiveBlk(Pal::String oldPrim, Pal::String newPrim, int instNum);

    void DumpToFile(Pal::Stream* stream, bool full);
    // Writes the container to a dump file ("olmwtest.dmp" for a null name).
    void DumpWizData(const char* fileName);

private:
    Pal::String m_wizType;
    Pal::String m_version;
    Olm_BlockList m_blocks;
    Olm_SignalList m_signals;
};
