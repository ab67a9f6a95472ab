#include "platform/PdfDrawing.h"

#include <QElapsedTimer>

#include <poppler-qt6.h>

#include <atomic>

namespace velmora {
namespace {

// Poppler's own complaints (in English, on standard error) are counted instead.
std::atomic<int> popplerComplaints{0};

void countComplaint(const QString&, const QVariant&) {
    ++popplerComplaints;
}

struct Budget {
    QElapsedTimer clock;
    int milliseconds;
};

bool budgetSpent(const QVariant& payload) {
    const auto* budget = reinterpret_cast<const Budget*>(payload.value<quintptr>());
    return budget->clock.hasExpired(budget->milliseconds);
}

class PopplerDrawing final : public PdfDrawing {
public:
    explicit PopplerDrawing(std::unique_ptr<Poppler::Document> document) : m_document(std::move(document)) {}

    bool isLocked() const override { return m_document->isLocked(); }
    int pageCount() const override { return m_document->numPages(); }
    bool hasForm() const override { return m_document->formType() != Poppler::Document::NoForm; }

    std::optional<QSizeF> pageSize(int index) const override {
        const std::unique_ptr<Poppler::Page> page = m_document->page(index);
        if (!page)
            return std::nullopt;
        return page->pageSizeF();
    }

    QImage draw(int index, int dpi, int budgetMilliseconds, bool& timedOut) override {
        timedOut = false;
        const std::unique_ptr<Poppler::Page> page = m_document->page(index);
        if (!page)
            return QImage();
        Budget budget{QElapsedTimer(), budgetMilliseconds};
        budget.clock.start();
        QImage image =
            page->renderToImage(dpi, dpi, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr, nullptr,
                                budgetSpent, QVariant::fromValue(reinterpret_cast<quintptr>(&budget)));
        timedOut = budget.clock.hasExpired(budgetMilliseconds);
        return image;
    }

    int complaints() const override { return popplerComplaints; }

private:
    std::unique_ptr<Poppler::Document> m_document;
};

} // namespace

Result<std::unique_ptr<PdfDrawing>> openPdfDrawing(const QString& path, bool antialiased,
                                                   const QString& unreadable) {
    Poppler::setDebugErrorFunction(countComplaint, QVariant());
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document)
        return Error::make(ErrorCode::FileAccess, unreadable);
    if (antialiased)
        document->setRenderHint(Poppler::Document::Antialiasing, true);
    return std::unique_ptr<PdfDrawing>(std::make_unique<PopplerDrawing>(std::move(document)));
}

} // namespace velmora
