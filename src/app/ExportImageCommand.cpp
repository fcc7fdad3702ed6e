#include "app/ExportImageCommand.h"

#include "commands/CommandContext.h"
#include "commands/Prompts.h"

bool ExportImageEnabled(const TDocument& doc) {
    return doc.laps().Count() > 0;
}

bool ExportImageCommand(TCommandContext& ctx, TImageView view, QSize windowSize, int dpiY,
                        const TMapPicture* map) {
    if (!ExportImageEnabled(ctx.doc)) return false;
    TExportImageXfer size;
    size.windowWidth = windowSize.width();
    size.windowHeight = windowSize.height();
    size.width = ctx.session.imageWidth;
    size.height = ctx.session.imageHeight;
    size.windowSize = ctx.session.imageWidth == 0;
    if (!ctx.prompts.ExportImageSize(size)) return false;
    const QSize chosen = size.windowSize ? windowSize : QSize(size.width, size.height);
    if (!ImageSizeAllowed(chosen)) {
        ctx.prompts.MessageBox(kExportImageTitle,
                               "The picture must be from 1 x 1 to 7680 x 4320 pixels",
                               TMsgIcon::Exclamation, TMsgButtons::Ok);
        return false;
    }
    // The typed size is offered again for the rest of the run.
    ctx.session.imageWidth = size.windowSize ? 0 : size.width;
    ctx.session.imageHeight = size.windowSize ? 0 : size.height;

    TFileDialogXfer file;
    file.title = kExportImageTitle;
    file.filter = kImageFilter;
    file.defaultExt = "png";
    file.confirmOverwrite = true;
    file.initialPath = "./*.png";
    if (!ctx.prompts.SaveFileDialog(file)) return false;

    ctx.prompts.SetWaitCursor(true);
    std::string error;
    const bool ok = WriteViewImage(ctx, view, chosen, dpiY, file.path, error, map);
    ctx.prompts.SetWaitCursor(false);
    if (!ok)
        ctx.prompts.MessageBox(kExportImageTitle, "Unable to write " + file.path + ": " + error,
                               TMsgIcon::Exclamation, TMsgButtons::Ok);
    return ok;
}
