// EngineState: filled in by the subsystem that owns it.
#pragma once

struct EngineState {};
