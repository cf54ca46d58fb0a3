#pragma once
// Resource numbers of trayconsole.exe, shared by the resource script and the code.

// The handset with its display lit: shown while the bridge reports a handset; also the
// program's own icon (the first one).
#define IDI_HANDSET_PRESENT 1
// The same handset in grey: no handset, or no bridge.
#define IDI_HANDSET_ABSENT 2
