// ListViewPainter: draws a skinned list view: the background framed by the window
// border, then each visible tile cut to the tile area: its background (selected or
// not), its border (the active border for the current item, else the selected border
// for a selected one), a framed 48 x 48 picture square and the caption centred and
// word-wrapped under it. Stateless; paints on any QPainter.
#pragma once

#include "skins/list_view_model.h"
#include "skins/skin_groups.h"

#include <QSize>

class QPaintDevice;
class QPainter;

namespace lumora {

class ListViewPainter {
public:
    static void Paint(QPainter& painter, QSize client, const ListViewModel& model, const ListViewSkin& skin);
    // The height of `caption` wrapped into ListViewModel::kCaptionWidth pixels in `font`.
    static int CaptionHeight(const QPaintDevice& device, const SkinFont& font, const QString& caption);

private:
    static void PaintTile(QPainter& painter, const QRect& tile, const ListViewModel::Item& item, bool current,
                          const ListViewSkin& skin);
};

}  // namespace lumora
