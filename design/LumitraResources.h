// The plugin's compiled-in resources (bitmaps), registered once.
#pragma once

namespace LumitraDesign {
void InitResources();
}
