#pragma once

#include <QString>

namespace Brelvan::EditRefusal {

// A record that would not go into edit (locked elsewhere, the server gone, a read-only
// file): the key that tried is dropped and the reason told. The keys typed while that
// message was up are dropped too, rather than saved later as a fragment of what was typed.
void report(const QString &reason);
// True from a refusal until the event loop has run once after its message closed.
bool swallowing();

} // namespace Brelvan::EditRefusal
