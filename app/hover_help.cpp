// The hover help line: the help text of the panel under the pointer or of the drag.
#include "app/hover_help.h"

#include "app/app_state.h"
#include "app/drag_help.h"
#include "ui/panel_table.h"
#include "ui/panel_update.h"
#include "ui/screen.h"

namespace {

// Strictly inside on all four sides: a panel's border line belongs to no panel.
bool strictlyInside(const PanelRect& rect, int x, int y) {
    return rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
}

} // namespace

const char* hoverHelpText(const AppState& app, const Screen& screen, int x, int y) {
    const char* text = "";
    for (const PanelSpec& spec : kPanels) {
        const char* help = panelHelpText(spec, app.ui.envelopeCurve);
        if (help && strictlyInside(panelRect(screen.layout, spec.id), x, y)) text = help;
    }
    if (const char* dragText = dragHelpText(app)) text = dragText;
    return text;
}

void showHoverHelp(AppState& app, Screen& screen, int x, int y) {
    if (!screen.windowActive) return;
    showHelpLineText(app.ui, screen, hoverHelpText(app, screen, x, y));
}
