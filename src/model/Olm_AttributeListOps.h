#pragma once

// Attribute-list operations shared by pins, signals and blocks. Internal to
// the library (not exported): each owner forwards its public attribute
// operations here, so the rules live in one place.

#include "model/Olm_Attribute.h"

namespace OlmAttrOps {

// Appends and takes ownership; a null pointer is ignored so that the list
// never holds null entries.
void Append(Olm_AttributeList& list, Olm_Attribute* attribute);

// First attribute whose name equals name, folding ASCII case; null when none.
Olm_Attribute* Find(const Olm_AttributeList& list, const Pal::String& name);

// Create or update: an existing attribute is reactivated and takes the value
// (default, possible values and modifiable flag stay); otherwise a new
// Olm_Attribute(name, value) is appended.
Olm_Attribute* AddOrUpdate(Olm_AttributeList& list, const Pal::String& name, const Pal::String& value);

// Current value of the named attribute, or an empty string.
Pal::String ValueOf(const Olm_AttributeList& list, const Pal::String& name);

// Sets the value (and the save flag) of the named attribute, creating it when
// missing. Always true.
bool SetValue(Olm_AttributeList& list, const Pal::String& name, const Pal::String& value);

// Deletes the first attribute whose name matches byte for byte.
void RemoveExact(Olm_AttributeList& list, const Pal::String& name);

// Deletes every attribute whose name begins with prefix (byte for byte).
void RemoveWithPrefix(Olm_AttributeList& list, const Pal::String& prefix);

// True when some attribute name begins with prefix (byte for byte).
bool HasPrefix(const Olm_AttributeList& list, const Pal::String& prefix);

void SetAllActive(Olm_AttributeList& list, bool active);

}  // namespace OlmAttrOps
