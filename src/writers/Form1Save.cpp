#include "core/Form1.h"

namespace klavoset {

Outcome Form1::Save1_Click() { return Outcome::Declined; }
Outcome Form1::Save1As_Click() { return Outcome::Declined; }
Outcome Form1::SaveAsVKP_Click() { return Outcome::Declined; }

} // namespace klavoset
