// Panel rectangles as the panel table gives them.
#include "ui/panel_layout.h"

#include "ui/panel_table.h"

void layoutPanels(PanelLayout& layout) {
    for (const PanelSpec& spec : kPanels) layout.rects[static_cast<int>(spec.id)] = spec.rect;
}
