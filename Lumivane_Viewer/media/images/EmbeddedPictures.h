#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

/// The pictures a project embeds (its logo, its floor plans), decoded once
/// for every view that shows the same bytes (the cover's logo, the header's
/// logo, the mini floor plan): by ImageDecodeBudget::readData(), at a size
/// that covers what each of them shows, kept by their bytes while their
/// share of memory allows, and fitted to each view's bound from there. A
/// view asking while another's decode of the same bytes runs waits for that
/// decode. Thread-safe; decodes on the calling thread.
namespace EmbeddedPictures {

/// The picture of `bytes`, upright, fitted to `bound` (see
/// ImageDecodeBudget::fitted); null when they give none.
QImage decode(const QByteArray &bytes, QSize bound);

} // namespace EmbeddedPictures
