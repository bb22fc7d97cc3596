#include "core/Form1.h"

namespace klavoset {

Outcome Form1::Open2_Click() { return Outcome::Declined; }
Outcome Form1::Save2_Click() { return Outcome::Declined; }
Outcome Form1::Save2As_Click() { return Outcome::Declined; }

} // namespace klavoset
