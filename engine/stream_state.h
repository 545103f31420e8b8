// StreamState: filled in by the subsystem that owns it.
#pragma once

struct StreamState {};
