#include "ui/worksheet/FormCS42.h"

#include "core/explain/Explanation.h"
#include "core/produce/FormFiller.h"
#include "core/produce/FormTemplate.h"
#include "core/store/ChangeWatch.h"
#include "core/store/ProgramSettings.h"
#include "core/worksheet/AmountCheck.h"
#include "core/worksheet/Cs42Form.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"
#include "core/worksheet/ProductionRefusal.h"
#include "ui/common/Interaction.h"
#include "ui/common/Palette.h"
#include "ui/common/Session.h"
#include "ui/common/WindowHost.h"
#include "ui/explain/CalcMessageWindow.h"
#include "ui/names/PartySelection.h"
#include "ui/produce/PdfPreview.h"
#include "ui/produce/ProducingFormBox.h"
#include "ui/worksheet/GetAmount.h"
#include "ui/worksheet/GetCcare.h"
#include "ui/worksheet/GetChA.h"
#include "ui/worksheet/GetIns.h"
#include "ui/worksheet/GetPreAlimony.h"
#include "ui/worksheet/GetResp.h"
#include "ui/worksheet/HistoryWindow.h"
#include "ui/worksheet/Income.h"
#include "ui/worksheet/OverRide.h"

#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QRegularExpression>
#include <QScrollArea>

#include <algorithm>

namespace cs42 {

namespace {
using ProgramSettings::twipsToPixels;

const QString CustodyCaption = QStringLiteral("WHO HAS CUSTODY?");
const QString HealthInsuranceCaption = QStringLiteral("WHO PAYS HEALTH INS?");
const QString EditionTitle = QStringLiteral("Form Edition");
const QString SharedCustodyCaption = QStringLiteral("SHARED CUSTODY (50 %)");

// Pixels of the form's picture for one PDF point.
constexpr double PictureScale = 1.6;

QFont arial(double pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(qMax(8, qRound(pixelSize)));
    font.setBold(bold);
    return font;
}

// The check of an amount for one of a parent's lines 1, 1a and 1b, against the other two as
// stored.
EntryDialog::AmountCheck parentCheck(const CaseRecord& record, const LineDef& def, ParentLine line)
{
    const bool plaintiff = def.side == Side::Plaintiff;
    return [record, plaintiff, line](const QString& amount) {
        return parentAmountRefusal(record, plaintiff, line, amount);
    };
}

} // namespace

FormCS42::FormCS42(Session& session, WindowHost& host, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_host(host)
    , m_edition(&FormEditions::cs42Rev0109())
    , m_sheet(session.paths, session.currentCaseId, *m_edition)
{
    setObjectName(QStringLiteral("FormCS42"));
    m_sheet.setToday(m_session.today);
    m_session.currentWindowName = QStringLiteral("FormCS42");
    setFixedSize(twipsToPixels(ProgramSettings::ChildWindowWidth - 200),
                 twipsToPixels(ProgramSettings::ChildWindowHeight + 11800));
    setAutoFillBackground(true);

    // Opening repairs the case records so that every column reads as text. The case's own form
    // edition is the picture shown (a case of an edition this program does not know is shown on
    // the default one, which says so).
    const CaseStore store(m_session.paths.casesDbPath());
    CaseStoreStatus status = store.open();
    std::optional<CaseRecord> record;
    if (status == CaseStoreStatus::Ok)
        record = store.findCurrentCase(m_session.currentCaseId, &status);
    if (record) {
        const FormEdition* edition = FormEditions::forCase(*record);
        m_edition = edition ? edition : &FormEditions::defaultEdition();
    }
    setWindowTitle(m_edition->windowTitle);
    m_caseNameText =
        m_session.currentCaseName + QStringLiteral("  (") + store.path().toUpper() + QLatin1Char(')');
    buildPicture();
    m_host.setMenuState(MenuState::AllMenus);
    if (status == CaseStoreStatus::OpenFailed) {
        storeOk(status);
        return;
    }
    store.repairNulls();

    ChangeFieldColors();
    RecalculateWorksheet();

    // What other workstations save reaches this worksheet without reopening it.
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("lblChangeNotice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setFont(arial(13, true));
    m_notice->setStyleSheet(QStringLiteral(
        "QLabel { background: #fff3b0; color: black; border: 1px solid #b08d00; padding: 0 6px; }"));
    m_notice->setGeometry(twipsToPixels(390), 46, width() - 2 * twipsToPixels(390), 26);
    m_notice->setToolTip(QStringLiteral("Click to hide this notice"));
    m_notice->installEventFilter(this);
    m_notice->hide();
    m_refreshRetry.setSingleShot(true);
    m_refreshRetry.setInterval(500);
    connect(&m_refreshRetry, &QTimer::timeout, this, &FormCS42::refreshFromStore);
    m_watch = new ChangeWatch(m_session.paths.casesDbPath(), this);
    connect(m_watch, &ChangeWatch::casesChanged, this, &FormCS42::casesChangedElsewhere);
}

const QStringList& FormCS42::highlightedLabels()
{
    static const QStringList names = FormEditions::cs42Rev0109().highlightedLabels();
    return names;
}

QString FormCS42::textTooLongText(qsizetype length, qsizetype limit)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("The text you entered is %1 characters long, but this box holds at most %2 "
                          "characters. It was not saved; please enter a shorter text.")
        .arg(english.toString(length), english.toString(limit));
}

QString FormCS42::caseRemovedText()
{
    return QStringLiteral(
        "This case no longer exists: it has been removed, perhaps from another workstation. "
        "Nothing was saved. Please select a case in the Case Library.");
}

// ---------------------------------------------------------------------------------------------
// The picture and its labels

QLabel* FormCS42::addLabel(const QString& name, const QString& text)
{
    auto* label = new QLabel(text, m_page);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(arial(13));
    m_labels.insert(name, label);
    return label;
}

QLabel* FormCS42::label(const QString& name) const
{
    return m_labels.value(name);
}

void FormCS42::followEdition()
{
    if (&m_sheet.edition() == m_edition)
        return;
    m_edition = &m_sheet.edition();
    setWindowTitle(m_edition->windowTitle);
    delete m_page;
    m_page = nullptr;
    m_labels.clear();
    buildPicture();
    ChangeFieldColors();
}

void FormCS42::buildPicture()
{
    m_page = new QWidget(this);
    m_page->setObjectName(QStringLiteral("Page"));
    m_page->setGeometry(rect());

    // The picture is the installed template itself, so that what the worksheet shows and what
    // production fills can never sit on different lines. Without a template the page is blank.
    const QString templatePath = m_session.paths.formTemplatePath(m_edition->templateFile);
    QString error;
    const std::optional<FormTemplateInfo> info = readFormTemplate(templatePath, &error);
    const QSizeF pageSize = info ? info->pageSize : QSizeF(612, 792);
    const QSize pixels(qRound(pageSize.width() * PictureScale), qRound(pageSize.height() * PictureScale));

    QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    if (info) {
        QPdfDocument document;
        if (document.load(templatePath) == QPdfDocument::Error::None && document.pageCount() > 0) {
            const QImage page = document.render(0, pixels);
            QPainter painter(&picture);
            painter.drawImage(0, 0, page);
        }
    }
    m_image1 = new QLabel(m_page);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(QPixmap::fromImage(picture));
    const QPoint origin(twipsToPixels(390), twipsToPixels(675));
    m_image1->setGeometry(QRect(origin, pixels));

    // Every label of the worksheet; the picture's own labels come later so that they lie above it.
    for (const LineDef& line : m_edition->lines)
        addLabel(line.label);
    addLabel(QStringLiteral("lblCustodyCaption"), CustodyCaption);
    if (m_edition->line(QStringLiteral("lblHealthInsurance")))
        addLabel(QStringLiteral("lblHealthInsuranceCaption"), HealthInsuranceCaption);
    addLabel(QStringLiteral("lblOverrideWarning"), OverrideWarningText);
    addLabel(QStringLiteral("lblOverrideWarning2"), OverrideWarning2Text);
    for (const QString& name : m_edition->warningLabels)
        addLabel(name);
    addLabel(QStringLiteral("lblExplaination"), QStringLiteral("Click HERE for a\r\nWRITTEN EXPLANATION"));
    addLabel(QStringLiteral("lblSelectedCaseName"), m_caseNameText);
    addLabel(QStringLiteral("lblEdition"), m_edition->title);
    addLabel(QStringLiteral("GetChildInfoHot"));

    // Each field's rectangle under the label that fills it: by the field's position on the 2009
    // form, by its name on the later ones.
    QHash<QString, QRectF> rects;
    if (info) {
        const QStringList names = m_edition->formFieldLabels();
        for (const FormFieldInfo& field : info->fields) {
            const QString name = m_edition->fillsByName ? m_edition->labelOfField(field.name)
                                                        : (field.index >= 1 && field.index <= names.size()
                                                               ? names.at(field.index - 1)
                                                               : QString());
            if (name.isEmpty() || !label(name))
                continue;
            const QRectF r = field.rect.normalized();
            // PDF rectangles count from the bottom of the page; the picture from its top.
            rects.insert(name, QRectF(r.left(), pageSize.height() - r.bottom(), r.width(), r.height()));
            if (field.rightAligned)
                label(name)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (field.multiline) {
                label(name)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label(name)->setWordWrap(true);
            }
        }
    }
    placeFormLabels(rects, pageSize, origin);
    m_page->show();
}

void FormCS42::placeFormLabels(const QHash<QString, QRectF>& fieldRects,
                               const QSizeF& pageSize,
                               const QPoint& origin)
{
    // Page points (origin top-left) to window pixels.
    const auto toWindow = [&origin](const QRectF& r) {
        return QRectF(origin.x() + r.left() * PictureScale,
                      origin.y() + r.top() * PictureScale,
                      r.width() * PictureScale,
                      r.height() * PictureScale)
            .toAlignedRect();
    };

    QStringList formLabels;
    for (const LineDef& line : m_edition->lines) {
        if (line.formField > 0 || !line.fieldName.isEmpty())
            formLabels << line.label;
    }
    bool everyField = true;
    for (const QString& name : formLabels)
        everyField = everyField && fieldRects.contains(name);
    if (everyField) {
        for (const QString& name : formLabels) {
            const QRect r = toWindow(fieldRects.value(name));
            QLabel* l = label(name);
            l->setGeometry(r);
            l->setFont(arial(l->wordWrap() ? 14.0 : qMin(15.0, r.height() * 0.72)));
        }
    } else {
        // No usable template: the lines stand one under the other on the blank page, so that the
        // worksheet still works.
        int y = origin.y() + 20;
        const int rowHeight = formLabels.size() > 45 ? 19 : 26;
        for (const QString& name : formLabels) {
            auto* caption = new QLabel(name.mid(3), m_page);
            caption->setGeometry(origin.x() + 20, y, 160, rowHeight - 4);
            label(name)->setGeometry(origin.x() + 190, y, 300, rowHeight - 4);
            y += rowHeight;
        }
    }
    // A line the form prints itself (the 100 % of line 3 on the later forms) has no label.
    for (const LineDef& line : m_edition->lines) {
        if (line.kind == LineKind::Computed && !formLabels.contains(line.label))
            label(line.label)->hide();
    }

    const auto at = [&](const QString& name, const QRectF& pagePoints) {
        if (QLabel* l = label(name))
            l->setGeometry(toWindow(pagePoints));
    };
    const double pageWidth = pageSize.width();
    const double pageHeight = pageSize.height();

    // Above the picture: the case name, and the form edition, which a click changes.
    label(QStringLiteral("lblSelectedCaseName"))
        ->setGeometry(origin.x(), 6, width() - 2 * origin.x() - 300, 30);
    label(QStringLiteral("lblSelectedCaseName"))->setFont(arial(15, true));
    QLabel* edition = label(QStringLiteral("lblEdition"));
    edition->setGeometry(width() - origin.x() - 300, 6, 300, 30);
    edition->setFont(arial(14, true));
    edition->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edition->setToolTip(m_edition->title + QStringLiteral(", ") + m_edition->appliesTo +
                        QStringLiteral(". Click to prepare this case on another edition of the form."));

    // The worksheet's own labels, which the court's form does not print: on the 2009 page in its
    // free space below the comments, below the picture on the later forms, whose page is full.
    const double row = m_edition->fillsByName ? pageHeight + 2 : pageHeight - 62;
    at(QStringLiteral("lblCustodyCaption"), QRectF(36, row + 4, 120, 14));
    at(QStringLiteral("lblCustody"), QRectF(156, row + 4, 90, 14));
    at(QStringLiteral("lblHealthInsuranceCaption"), QRectF(36, row + 22, 120, 14));
    at(QStringLiteral("lblHealthInsurance"), QRectF(156, row + 22, 90, 14));
    at(QStringLiteral("lblExplaination"), QRectF(pageWidth - 196, row + 2, 160, 34));
    // The override warnings sit in the unused (shaded) parent cells of line 4.
    if (fieldRects.contains(QStringLiteral("lblC4"))) {
        const QRectF line4 = fieldRects.value(QStringLiteral("lblC4"));
        const QRectF p1 = fieldRects.value(QStringLiteral("lblP1"));
        const QRectF d1 = fieldRects.value(QStringLiteral("lblD1"));
        at(QStringLiteral("lblOverrideWarning"), QRectF(p1.left(), line4.top(), p1.width(), line4.height()));
        at(QStringLiteral("lblOverrideWarning2"), QRectF(d1.left(), line4.top(), d1.width(), line4.height()));
        at(QStringLiteral("lblAboveScheduleWarning"),
           QRectF(p1.left(), line4.top() - 2, d1.right() - p1.left(), line4.height() + 4));
    } else {
        at(QStringLiteral("lblOverrideWarning"), QRectF(pageWidth - 330, row + 4, 120, 14));
        at(QStringLiteral("lblOverrideWarning2"), QRectF(pageWidth - 330, row + 22, 120, 14));
        at(QStringLiteral("lblAboveScheduleWarning"), QRectF(36, 33, pageWidth - 72, 12));
    }
    // The other warnings: the two about the schedule and the amounts in the page's top margin; the
    // ones about line 2 and line 10 in unused (shaded) combined cells; the one about the children
    // between the toggles and the explanation.
    at(QStringLiteral("lblAmountWarning"), QRectF(36, 7, pageWidth - 72, 12));
    at(QStringLiteral("lblScheduleWarning"), QRectF(36, 20, pageWidth - 72, 12));
    const QRectF middle(254, row + 2, pageWidth - 196 - 254 - 4, 34);
    // The children's warning (their number, their birth dates) takes the whole space unless the
    // edition's warning shares it (shown below it); see showWarnings.
    at(QStringLiteral("lblChildrenWarning"), middle);
    m_childrenWarningWhole = label(QStringLiteral("lblChildrenWarning"))->geometry();
    m_childrenWarningShared = toWindow(middle.adjusted(0, 0, 0, -16));
    at(QStringLiteral("lblEditionWarning"), middle.adjusted(0, 18, 0, 0));
    const auto combinedCells = [&](const char* from, const char* to) {
        const QRectF c2 = fieldRects.value(QStringLiteral("lblC2"));
        const QRectF top = fieldRects.value(QString::fromLatin1(from));
        const QRectF bottom = fieldRects.value(QString::fromLatin1(to));
        return QRectF(c2.left(), top.top(), c2.width(), bottom.bottom() - top.top());
    };
    // The combined column is unused from line 8 on (CS-42 Rev. 5/2022), from line 10 on (CS-42-S).
    const bool sharedCustody = !m_edition->line(QStringLiteral("lblCustody"));
    if (m_edition->fillsByName && everyField && sharedCustody) {
        at(QStringLiteral("lblSharesWarning"), combinedCells("lblP10", "lblP12"));
        at(QStringLiteral("lblLineTwoWarning"), combinedCells("lblP13", "lblP14"));
    } else if (m_edition->fillsByName && everyField) {
        at(QStringLiteral("lblSharesWarning"), combinedCells("lblP8", "lblP10"));
        at(QStringLiteral("lblLineTwoWarning"), combinedCells("lblP11", "lblP13"));
    } else if (fieldRects.contains(QStringLiteral("lblC2")) &&
               fieldRects.contains(QStringLiteral("lblP10"))) {
        const QRectF c2 = fieldRects.value(QStringLiteral("lblC2"));
        const QRectF p3 = fieldRects.value(QStringLiteral("lblP3"));
        const QRectF p9 = fieldRects.value(QStringLiteral("lblP9"));
        const QRectF p10 = fieldRects.value(QStringLiteral("lblP10"));
        // A row's cell ends a point below its field; keep two points off the ruled lines.
        at(QStringLiteral("lblLineTwoWarning"),
           QRectF(c2.left(), c2.bottom() + 3, c2.width(), p3.bottom() - c2.bottom() - 4));
        at(QStringLiteral("lblCreditWarning"),
           QRectF(c2.left(), p9.bottom() + 3, c2.width(), p10.bottom() - p9.bottom() - 4));
    } else {
        at(QStringLiteral("lblLineTwoWarning"), QRectF(254, pageHeight - 96, pageWidth - 196 - 254 - 4, 14));
        at(QStringLiteral("lblCreditWarning"), QRectF(254, pageHeight - 80, pageWidth - 196 - 254 - 4, 14));
        at(QStringLiteral("lblSharesWarning"), QRectF(36, 33, pageWidth - 72, 12));
    }

    for (const char* name : {"lblCustodyCaption", "lblHealthInsuranceCaption"}) {
        if (QLabel* l = label(QString::fromLatin1(name))) {
            l->setFont(arial(13, true));
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    // A form for shared custody has no custody to choose: the box says so instead.
    if (sharedCustody) {
        QLabel* custody = label(QStringLiteral("lblCustodyCaption"));
        custody->setText(SharedCustodyCaption);
        custody->setGeometry(toWindow(QRectF(36, row + 4, 210, 14)));
        custody->setAlignment(Qt::AlignCenter);
        custody->setToolTip(
            QStringLiteral("Form CS-42-S is for parents who share physical custody equally; the "
                           "parent who pays is the one with the higher line 13."));
    }
    for (const char* name : {"lblCustody", "lblHealthInsurance"}) {
        if (QLabel* l = label(QString::fromLatin1(name))) {
            l->setFont(arial(13, true));
            l->setAlignment(Qt::AlignCenter);
        }
    }
    QStringList warnings{QStringLiteral("lblOverrideWarning"), QStringLiteral("lblOverrideWarning2")};
    warnings << m_edition->warningLabels;
    for (const QString& name : warnings) {
        QLabel* warning = label(name);
        // The shaded cells and the space by the toggles take more than one line; so does the
        // edition warning in its half of that space.
        warning->setWordWrap(warning->height() > 30 || name == QLatin1String("lblEditionWarning"));
        fitWarning(warning);
        warning->setAlignment(Qt::AlignCenter);
        QPalette red = warning->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        warning->setPalette(red);
        warning->hide();
    }
    QLabel* explanation = label(QStringLiteral("lblExplaination"));
    explanation->setFont(arial(13, true));
    explanation->setAlignment(Qt::AlignCenter);
    explanation->setCursor(Qt::PointingHandCursor);
    QPalette blue = explanation->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 128));
    explanation->setPalette(blue);
    edition->setPalette(blue);

    // Shape1 frames the toggles; Shape2 the explanation.
    auto* shape1 = new QFrame(m_page);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setFrameShape(QFrame::Box);
    shape1->setGeometry(
        toWindow(QRectF(32, row, 218, label(QStringLiteral("lblHealthInsurance")) ? 40 : 22)));
    shape1->lower();
    m_image1->lower();
    auto* shape2 = new QFrame(m_page);
    shape2->setObjectName(QStringLiteral("Shape2"));
    shape2->setFrameShape(QFrame::Box);
    shape2->setGeometry(explanation->geometry().adjusted(-2, -2, 2, 2));
    shape2->lower();
    m_image1->lower();

    // The clickable area over the children block: above the child labels, which do nothing
    // themselves, and transparent so that they show through.
    QRect children;
    for (const LineDef& line : m_edition->lines) {
        if (line.kind == LineKind::Child)
            children |= label(line.label)->geometry();
    }
    QLabel* hot = label(QStringLiteral("GetChildInfoHot"));
    hot->setGeometry(children);
    hot->setCursor(Qt::PointingHandCursor);
    hot->setToolTip(QStringLiteral("Click to enter the children's names and dates of birth"));
    hot->raise();

    QStringList clickable = m_edition->clickableLabels();
    clickable << QStringLiteral("GetChildInfoHot") << QStringLiteral("lblExplaination")
              << QStringLiteral("lblEdition");
    for (const QString& name : clickable) {
        QLabel* l = label(name);
        l->installEventFilter(this);
        l->setCursor(Qt::PointingHandCursor);
    }
    // What each line is and the rule that makes it, where the edition says.
    for (const LineDef& line : m_edition->lines) {
        if (!line.description.isEmpty())
            label(line.label)->setToolTip(line.description);
        else if (!line.title.isEmpty() && line.kind != LineKind::Child)
            label(line.label)->setToolTip(line.title);
    }
    setUpKeyboard();
}

void FormCS42::ChangeFieldColors()
{
    const QColor color = paletteColor(m_session.highlightColorIndex);
    for (const QString& name : m_edition->highlightedLabels()) {
        QLabel* l = label(name);
        QPalette palette = l->palette();
        palette.setColor(QPalette::Window, color);
        l->setPalette(palette);
        l->setAutoFillBackground(true);
    }
}

Captions FormCS42::displayedCaptions() const
{
    Captions captions;
    for (const QString& name : m_edition->captionLabels())
        captions.insert(name, label(name)->text());
    return captions;
}

// ---------------------------------------------------------------------------------------------
// Computation and the store

void FormCS42::RecalculateWorksheet()
{
    const CaseStoreStatus status = m_sheet.recalculate();
    if (status != CaseStoreStatus::Ok) {
        storeOk(status);
        return;
    }
    showComputation();
}

void FormCS42::showComputation()
{
    followEdition();
    const Worksheet& sheet = *m_sheet.worksheet();
    for (auto it = sheet.captions.cbegin(); it != sheet.captions.cend(); ++it) {
        if (QLabel* l = label(it.key()))
            l->setText(it.value());
    }
    label(QStringLiteral("lblEdition"))->setText(m_edition->title);
    label(QStringLiteral("lblEdition"))
        ->setAccessibleName(QStringLiteral("Form edition: ") + m_edition->title);
    // What a screen reader says of each entry: its line, what it holds, whose it is, its value.
    for (const LineDef& line : m_edition->lines) {
        if (QLabel* l = label(line.label))
            l->setAccessibleName(accessibleText(line, l->text()));
    }
    const bool overridden = sheet.result.overrideInForce;
    label(QStringLiteral("lblOverrideWarning"))->setVisible(overridden);
    label(QStringLiteral("lblOverrideWarning2"))->setVisible(overridden);
    const Captions warnings = m_edition->warnings(sheet.result);
    if (QLabel* children = label(QStringLiteral("lblChildrenWarning"));
        children && m_childrenWarningWhole.isValid()) {
        const bool shared = !warnings.value(QStringLiteral("lblEditionWarning")).isEmpty();
        const QRect place = shared ? m_childrenWarningShared : m_childrenWarningWhole;
        if (children->geometry() != place) {
            children->setGeometry(place);
            children->setWordWrap(!shared);
            children->setText(QString());
        }
    }
    for (const QString& name : m_edition->warningLabels) {
        QLabel* warning = label(name);
        const QString text = warnings.value(name);
        if (warning->text() != text) {
            warning->setText(text);
            fitWarning(warning);
        }
        warning->setVisible(!text.isEmpty());
    }
}

void FormCS42::fitWarning(QLabel* warning)
{
    // As large as fits in its place, at most 14 pixels.
    const QRect place = warning->rect().adjusted(2, 0, -2, 0);
    const auto fits = [&](double size) {
        const QFontMetrics metrics(arial(size, true));
        if (!warning->wordWrap())
            return metrics.horizontalAdvance(warning->text()) <= place.width();
        return metrics.boundingRect(place, Qt::TextWordWrap | Qt::AlignCenter, warning->text()).height() <=
               place.height();
    };
    double size = 14;
    while (size > 7 && !fits(size))
        size -= 1;
    warning->setFont(arial(size, true));
}

std::optional<CaseRecord> FormCS42::currentCase()
{
    CaseStoreStatus status = CaseStoreStatus::Ok;
    std::optional<CaseRecord> record = m_sheet.currentCase(&status);
    if (!record)
        storeOk(status);
    return record;
}

void FormCS42::apply(const ColumnValues& values)
{
    if (store([&] { return m_sheet.apply(values); }))
        showComputation();
}

bool FormCS42::store(const std::function<CaseStoreStatus()>& operation)
{
    for (;;) {
        CaseStoreStatus status = operation();
        if (status == CaseStoreStatus::Conflict)
            status = resolveConflicts();
        if (status != CaseStoreStatus::Busy && status != CaseStoreStatus::SaveFailed &&
            status != CaseStoreStatus::Unreachable)
            return storeOk(status);
        // The entry is still in hand: offer to store it again rather than lose it or end.
        const CaseStoreMessage message = m_sheet.store().messageFor(status);
        if (m_session.interaction->ask(this,
                                       message.title,
                                       message.text + QStringLiteral("\r\n\r\n") + saveAgainQuestion(),
                                       Interaction::Icon::Warning) != Interaction::Answer::Yes)
            return false;
    }
}

CaseStoreStatus FormCS42::resolveConflicts()
{
    // Nothing was stored: for each entry another workstation changed meanwhile, the user sees both
    // values and chooses.
    QList<ColumnConflict> mine;
    for (const ColumnConflict& conflict : m_sheet.conflicts()) {
        const QString line = m_edition->labelOf(conflict.column);
        const QString what = line.isEmpty() ? conflict.column
                                            : WorksheetSession::describeChanges(*m_edition, {{line, {}, {}}})
                                                  .section(QLatin1Char(':'), 0, 0);
        if (m_session.interaction->ask(this,
                                       QStringLiteral("Changed at Another Workstation"),
                                       conflictQuestion(what, conflict.stored, conflict.value),
                                       Interaction::Icon::Warning) == Interaction::Answer::Yes)
            mine << conflict;
    }
    const CaseStoreStatus status = mine.isEmpty() ? m_sheet.recalculate() : m_sheet.applyOver(mine);
    if (status == CaseStoreStatus::Ok)
        showComputation();
    return status;
}

QString FormCS42::conflictQuestion(const QString& what, const QString& stored, const QString& yours)
{
    const auto shown = [](const QString& value) {
        return value.isEmpty() ? QStringLiteral("(empty)") : value;
    };
    return QStringLiteral("%1 was changed at another workstation while you entered it, so nothing was "
                          "saved.\r\n\r\nStored there: %2\r\nYour entry: %3\r\n\r\nReplace the stored "
                          "value with yours?  (No keeps the other workstation's.)")
        .arg(what, shown(stored), shown(yours));
}

QString FormCS42::saveAgainQuestion()
{
    return QStringLiteral("Try to save this entry again?  (No leaves the case as it was.)");
}

bool FormCS42::storeOk(CaseStoreStatus status)
{
    Interaction& interaction = *m_session.interaction;
    if (status == CaseStoreStatus::Ok)
        return true;
    if (status == CaseStoreStatus::CaseRemoved) {
        interaction.inform(this, QString(), caseRemovedText());
        return false;
    }
    const CaseStoreMessage message = m_sheet.store().messageFor(status);
    interaction.inform(this, message.title, message.text, Interaction::Icon::Warning);
    // Only a database that cannot be opened at all ends the program.
    if (message.endsProgram)
        interaction.endProgram(1);
    return false;
}

// ---------------------------------------------------------------------------------------------
// Clicks

void FormCS42::setUpKeyboard()
{
    // The entries in the order the form reads: the header, the parties, the children (one area),
    // each input line; at the foot, down the page; then the edition.
    m_focusChain.clear();
    const QStringList clickable = m_edition->clickableLabels();
    bool children = false;
    for (const LineDef& line : m_edition->lines) {
        if (line.kind == LineKind::Child) {
            if (!children)
                m_focusChain << label(QStringLiteral("GetChildInfoHot"));
            children = true;
        } else if (clickable.contains(line.label)) {
            m_focusChain << label(line.label);
        }
    }
    m_focusChain << label(QStringLiteral("lblExplaination"));
    // The foot of the form reads down the page: the comments, the signature line, then the
    // custody box and the explanation beside it, whatever the order of the edition's line list.
    if (const QLabel* comments = label(QStringLiteral("lblComments"))) {
        const int foot = comments->geometry().top();
        const auto row = [](const QLabel* entry) {
            return entry->geometry().center().y() / 20;
        };
        const auto first =
            std::find_if(m_focusChain.begin(), m_focusChain.end(), [foot](const QLabel* entry) {
                return entry->geometry().top() >= foot;
            });
        std::stable_sort(first, m_focusChain.end(), [&row](const QLabel* a, const QLabel* b) {
            return row(a) != row(b) ? row(a) < row(b) : a->geometry().left() < b->geometry().left();
        });
    }
    m_focusChain << label(QStringLiteral("lblEdition"));
    for (QLabel* entry : std::as_const(m_focusChain))
        entry->setFocusPolicy(Qt::StrongFocus);
    for (qsizetype i = 0; i + 1 < m_focusChain.size(); ++i)
        QWidget::setTabOrder(m_focusChain[i], m_focusChain[i + 1]);
    label(QStringLiteral("GetChildInfoHot"))
        ->setAccessibleName(QStringLiteral("Children and dates of birth"));
    label(QStringLiteral("lblExplaination"))->setAccessibleName(QStringLiteral("Written explanation"));
    focusFirstEntry();
}

void FormCS42::focusFirstEntry()
{
    if (!m_focusChain.isEmpty())
        m_focusChain.first()->setFocus(Qt::OtherFocusReason);
}

QString FormCS42::accessibleText(const LineDef& line, const QString& caption)
{
    static const QRegularExpression cell(QStringLiteral("^lbl([PDC])(\\d+[ab]?)$"));
    const QRegularExpressionMatch match = cell.match(line.label);
    const QString what = line.description.isEmpty() ? line.title : line.description;
    if (!match.hasMatch())
        return what + QStringLiteral(": ") + caption;
    const QString side = match.captured(1) == QLatin1String("P")   ? QStringLiteral("plaintiff")
                         : match.captured(1) == QLatin1String("D") ? QStringLiteral("defendant")
                                                                   : QStringLiteral("combined");
    return QStringLiteral("Line %1, %2, %3: %4").arg(match.captured(2), what, side, caption);
}

void FormCS42::moveFocus(QLabel* from, int key)
{
    // The nearest entry in the arrow's direction: up and down among the entries the column
    // overlaps, left and right along the row.
    const QRect here = from->geometry();
    QLabel* best = nullptr;
    int bestDistance = 0;
    for (QLabel* entry : std::as_const(m_focusChain)) {
        const QRect there = entry->geometry();
        if (entry == from || !entry->isVisible())
            continue;
        int distance = -1;
        const bool sameColumn = there.left() < here.right() && here.left() < there.right();
        const bool sameRow = there.top() < here.bottom() && here.top() < there.bottom();
        switch (key) {
        case Qt::Key_Down:
            if (sameColumn && there.top() >= here.bottom() - 1)
                distance = there.top() - here.bottom();
            break;
        case Qt::Key_Up:
            if (sameColumn && there.bottom() <= here.top() + 1)
                distance = here.top() - there.bottom();
            break;
        case Qt::Key_Right:
            if (sameRow && there.left() >= here.right() - 1)
                distance = there.left() - here.right();
            break;
        case Qt::Key_Left:
            if (sameRow && there.right() <= here.left() + 1)
                distance = here.left() - there.right();
            break;
        default:
            break;
        }
        if (distance >= 0 && (!best || distance < bestDistance)) {
            best = entry;
            bestDistance = distance;
        }
    }
    if (!best)
        return;
    best->setFocus(Qt::OtherFocusReason);
    // Tab scrolls the hosting area to the entry; an arrow must as well.
    for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(ancestor)) {
            area->ensureWidgetVisible(best);
            break;
        }
    }
}

bool FormCS42::eventFilter(QObject* watched, QEvent* event)
{
    auto* entry = qobject_cast<QLabel*>(watched);
    if (entry && m_focusChain.contains(entry)) {
        // The entry with the focus is framed, so that the keyboard's place is always seen.
        if (event->type() == QEvent::FocusIn) {
            entry->setFrameStyle(QFrame::Box | QFrame::Plain);
            entry->setLineWidth(2);
        } else if (event->type() == QEvent::FocusOut) {
            entry->setFrameStyle(QFrame::NoFrame);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                clicked(entry->objectName());
                return true;
            }
            if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
                moveFocus(entry, key);
                return true;
            }
        }
    }
    if (watched == m_notice && event->type() == QEvent::MouseButtonRelease) {
        m_notice->hide();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && mouse->button() == Qt::LeftButton &&
            widget->rect().contains(mouse->position().toPoint())) {
            clicked(widget->objectName());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FormCS42::clicked(const QString& name)
{
    act([&] { openEntry(name); });
}

void FormCS42::act(const std::function<void()>& action)
{
    ++m_actionsRunning;
    action();
    --m_actionsRunning;
    // A change that arrived meanwhile is shown now.
    if (m_actionsRunning == 0 && m_refreshRetry.isActive())
        m_refreshRetry.start(0);
}

void FormCS42::openEntry(const QString& name)
{
    if (name == QLatin1String("GetChildInfoHot")) {
        editChildren();
        return;
    }
    if (name == QLatin1String("lblExplaination")) {
        showExplanation();
        return;
    }
    if (name == QLatin1String("lblEdition")) {
        chooseEdition();
        return;
    }
    const LineDef* line = m_edition->line(name);
    if (!line)
        return;
    switch (line->rule) {
    case EntryRule::Income:
        editIncome(*line);
        break;
    case EntryRule::PreexistingSupport:
        editPreexistingSupport(*line);
        break;
    case EntryRule::Alimony:
        editAlimony(*line);
        break;
    case EntryRule::Override:
        editOverride(*line);
        break;
    case EntryRule::ChildCare:
        editChildCare(*line);
        break;
    case EntryRule::HealthInsurance:
        editHealthInsurance(*line);
        break;
    case EntryRule::Children:
        editChildren();
        break;
    case EntryRule::Toggle:
        toggle(*line);
        break;
    case EntryRule::Party:
        chooseParty(*line);
        break;
    case EntryRule::Text:
        editTextField(*line);
        break;
    case EntryRule::Amount:
        editAmount(*line);
        break;
    case EntryRule::ChildrenNumber:
        editNumberOfChildren(*line);
        break;
    case EntryRule::Edition:
        chooseEdition();
        break;
    case EntryRule::None:
        break;
    }
}

void FormCS42::editIncome(const LineDef& line)
{
    const std::optional<CaseRecord> record = currentCase();
    if (!record)
        return;
    const std::optional<QString> value = Income::edit(this,
                                                      line.title,
                                                      label(line.label)->text(),
                                                      *m_session.interaction,
                                                      parentCheck(*record, line, ParentLine::Income));
    if (value)
        apply({{line.columns.at(0), Format::wholeText(*value)}});
}

void FormCS42::editPreexistingSupport(const LineDef& line)
{
    if (!m_sheet.worksheet())
        return;
    const std::optional<CaseRecord> record = currentCase();
    if (!record)
        return;
    const std::optional<PreexistingSupport> support =
        GetResp::edit(this,
                      line.title,
                      label(line.label)->text(),
                      label(line.incomeLabel)->text(),
                      record->value(line.columns.at(1)),
                      m_session.paths.scheduleDbPath(),
                      *m_session.interaction,
                      parentCheck(*record, line, ParentLine::PreexistingSupport));
    if (support)
        apply({{line.columns.at(0), support->amount}, {line.columns.at(1), support->otherChildren}});
}

void FormCS42::editAlimony(const LineDef& line)
{
    const std::optional<CaseRecord> record = currentCase();
    if (!record)
        return;
    const std::optional<QString> value = GetPreAlimony::edit(this,
                                                             line.title,
                                                             label(line.label)->text(),
                                                             *m_session.interaction,
                                                             parentCheck(*record, line, ParentLine::Alimony));
    if (value)
        apply({{line.columns.at(0), *value}});
}

void FormCS42::editOverride(const LineDef& line)
{
    if (!m_sheet.worksheet())
        return;
    const WorksheetResult& result = m_sheet.worksheet()->result;
    const std::optional<OverrideChoice> choice =
        OverRide::edit(this,
                       result.overrideFlag,
                       label(line.label)->text(),
                       result.aboveSchedule || result.lookup.aboveTable,
                       *m_session.interaction,
                       &amountRefusal);
    if (choice)
        apply({{line.columns.at(0), choice->flag},
               {line.columns.at(1), EntryRules::overrideAmountText(choice->amount)}});
}

void FormCS42::editChildCare(const LineDef& line)
{
    const std::optional<QString> value =
        GetCcare::edit(this, line.title, label(line.label)->text(), *m_session.interaction, &amountRefusal);
    if (value)
        apply({{line.columns.at(0), Format::wholeText(*value)}});
}

void FormCS42::editHealthInsurance(const LineDef& line)
{
    const std::optional<QString> value =
        GetIns::edit(this, line.title, label(line.label)->text(), *m_session.interaction, &amountRefusal);
    if (value)
        apply({{line.columns.at(0), Format::wholeText(*value)}});
}

void FormCS42::editAmount(const LineDef& line)
{
    const std::optional<CaseRecord> record = currentCase();
    if (!record)
        return;
    const std::optional<QString> value = GetAmount::edit(
        this, line.title, line.description, record->value(line.columns.at(0)), *m_session.interaction);
    if (value)
        apply({{line.columns.at(0), *value}});
}

QString FormCS42::numberOfChildrenPrompt()
{
    return QStringLiteral("Enter the number of children of this support action (1 to 6), or leave the box "
                          "empty to count the children named:");
}

QString FormCS42::numberOfChildrenRefusal(const QString& text)
{
    return QStringLiteral("'%1' is not a number of children. Enter a number from 1 to 6, or leave the box "
                          "empty to count the children named.")
        .arg(text.trimmed());
}

void FormCS42::editNumberOfChildren(const LineDef& line)
{
    const std::optional<CaseRecord> record = currentCase();
    if (!record)
        return;
    QString typed = record->value(line.columns.at(0));
    for (;;) {
        const std::optional<QString> answer =
            m_session.interaction->inputText(this, line.title, numberOfChildrenPrompt(), typed);
        if (!answer)
            return;
        if (const std::optional<QString> number = EntryRules::numberOfChildren(*answer)) {
            if (*number != record->value(line.columns.at(0)))
                apply({{line.columns.at(0), *number}});
            return;
        }
        // Said, and asked again with the text as typed: nothing is stored silently empty.
        m_session.interaction->inform(
            this, line.title, numberOfChildrenRefusal(*answer), Interaction::Icon::Warning);
        typed = *answer;
    }
}

QString FormCS42::editionSwitchQuestion(const FormEdition& from, const FormEdition& to, bool costsKept)
{
    QString text = QStringLiteral("Prepare this case on %1 (%2) in place of %3?\r\n\r\n")
                       .arg(to.title, to.appliesTo, from.title);
    text += QStringLiteral("The parties, children, incomes, deductions, override and texts carry over. ");
    const bool toOld = to.id == FormEditions::cs42Rev0109().id;
    const bool fromOld = from.id == FormEditions::cs42Rev0109().id;
    if (fromOld != toOld && costsKept)
        text += QStringLiteral("The child care and health-care coverage stored for %1 stay as they are: they "
                               "already match this form's.")
                    .arg(to.title);
    else if (fromOld && !toOld)
        text +=
            QStringLiteral("The work-related child care of line 5 goes to the parent with custody, and the "
                           "health insurance of line 6 to the parent who pays it. Check lines 5 and 6 "
                           "after the switch.");
    else if (toOld && !fromOld)
        text +=
            QStringLiteral("Both parents' child care becomes line 5 and their health-care coverage line 6, "
                           "paid by the parent who pays more of it; the 2009 form keeps whole dollars. "
                           "Check lines 5 and 6 after the switch.");
    return text;
}

QString FormCS42::replaceAmountsQuestion(const FormEdition& from, const FormEdition& to)
{
    return QStringLiteral("Line 5 or 6 was changed on %1 since each parent's child care and health-care "
                          "coverage were stored for %2.\r\n\r\nReplace each parent's amounts on %2 with "
                          "lines 5 and 6 of %1 (the child care to the parent with custody, the health "
                          "insurance to the parent who pays it)? No keeps each parent's amounts as they "
                          "are.")
        .arg(from.title, to.title);
}

void FormCS42::chooseEdition()
{
    if (!m_sheet.worksheet())
        return;
    const QList<const FormEdition*> editions = FormEditions::all();
    QStringList items;
    int current = 0;
    for (qsizetype i = 0; i < editions.size(); ++i) {
        items << editions[i]->title + QStringLiteral(", ") + editions[i]->appliesTo;
        if (editions[i] == m_edition)
            current = static_cast<int>(i);
    }
    const std::optional<int> chosen = m_session.interaction->chooseItem(
        this, EditionTitle, QStringLiteral("The form this case is prepared on:"), items, current);
    // A case of an edition this program does not know may be switched to the one it is shown on.
    const bool known = m_sheet.worksheet()->result.unknownEdition.isEmpty();
    if (!chosen || *chosen < 0 || *chosen >= editions.size() || (known && editions[*chosen] == m_edition))
        return;
    const FormEdition& to = *editions[*chosen];
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const std::optional<EditionCarryOver> plan = m_sheet.carryOverTo(to, &status);
    if (!plan) {
        storeOk(status);
        return;
    }
    const bool costsKept = !plan->needed && !plan->derived.isEmpty();
    const QString question =
        known ? editionSwitchQuestion(*m_edition, to, costsKept)
              : QStringLiteral("Prepare this case on %1 (%2) in place of the form edition '%3', which this "
                               "program does not know?\r\n\r\nEvery entry stays as it is stored.")
                    .arg(to.title, to.appliesTo, m_sheet.worksheet()->result.unknownEdition);
    if (m_session.interaction->ask(this, EditionTitle, question) != Interaction::Answer::Yes)
        return;
    // Each parent's own amounts on a later form were entered there: replaced only when the user
    // agrees.
    const bool replace =
        !plan->replacesAmounts ||
        m_session.interaction->ask(this, EditionTitle, replaceAmountsQuestion(*m_edition, to)) ==
            Interaction::Answer::Yes;
    if (store([&] { return m_sheet.switchEdition(to, replace); }))
        showComputation();
}

void FormCS42::editChildren()
{
    const std::optional<CaseRecord> record = currentCase();
    if (!record)
        return;
    // The children's lines in slot order: each name followed by its birth date.
    QList<const LineDef*> lines;
    for (const LineDef& line : m_edition->lines) {
        if (line.rule == EntryRule::Children)
            lines << &line;
    }
    ChildrenInfo children;
    for (std::size_t i = 0; i < children.size() && 2 * i + 1 < std::size_t(lines.size()); ++i) {
        children[i] = {record->value(lines[qsizetype(2 * i)]->columns.at(0)),
                       record->value(lines[qsizetype(2 * i + 1)]->columns.at(0))};
    }
    const std::optional<ChildrenInfo> entered =
        GetChA::edit(this, children, *m_session.interaction, m_session.today());
    if (!entered)
        return;
    ColumnValues values;
    for (std::size_t i = 0; i < entered->size() && 2 * i + 1 < std::size_t(lines.size()); ++i) {
        values.append({lines[qsizetype(2 * i)]->columns.at(0), (*entered)[i].name});
        values.append({lines[qsizetype(2 * i + 1)]->columns.at(0), (*entered)[i].birthDate});
    }
    apply(values);
}

void FormCS42::toggle(const LineDef& line)
{
    const std::optional<CaseRecord> record = currentCase();
    if (!record)
        return;
    apply({{line.columns.at(0), EntryRules::toggled(record->value(line.columns.at(0)))}});
}

void FormCS42::editTextField(const LineDef& line)
{
    QLabel* l = label(line.label);
    const QString shown = l->text().trimmed();
    const std::optional<QString> answer =
        m_session.interaction->inputText(this, line.title, line.prompt, shown);
    // Cancel leaves the field as it is; so does an unchanged answer.
    if (!answer || *answer == shown)
        return;
    // The form's field could not hold more: refused here rather than when the form is produced.
    const qsizetype limit = Cs42Form::maxLength(line.label);
    if (answer->size() > limit) {
        m_session.interaction->inform(this, QString(), textTooLongText(answer->size(), limit));
        return;
    }
    if (store([&] { return m_sheet.applyText(line.label, *answer); })) {
        l->setText(*answer);
        l->repaint();
    }
}

void FormCS42::chooseParty(const LineDef& line)
{
    QString storedKey;
    if (!label(line.label)->text().trimmed().isEmpty()) {
        const std::optional<CaseRecord> record = currentCase();
        if (!record)
            return;
        storedKey = record->value(line.columns.at(1));
    }
    const std::optional<PartyChoice> choice = cs42::chooseParty(
        m_session, this, line.side == Side::Plaintiff ? Party::Plaintiff : Party::Defendant, storedKey);
    if (!choice)
        return;
    apply({{line.columns.at(0), choice->listName},
           {line.columns.at(1), choice->keyNumber},
           {line.columns.at(2), choice->addressBlock}});
}

void FormCS42::showExplanation()
{
    if (!m_sheet.worksheet() || !rereadCase())
        return;
    m_explanationText = m_sheet.explanation(m_session.today());
    CalcMessageWindow window(m_explanationText, *m_session.interaction, this);
    window.setReread([this]() -> std::optional<QString> {
        if (!rereadCase())
            return std::nullopt;
        m_explanationText = m_sheet.explanation(m_session.today());
        return m_explanationText;
    });
    window.exec();
}

std::optional<QList<CaptionChange>> FormCS42::rereadCase()
{
    QList<CaptionChange> changes;
    const CaseStoreStatus status = m_sheet.reread(&changes);
    if (status == CaseStoreStatus::CaseRemoved) {
        m_session.interaction->inform(this, QString(), caseGoneText());
        return std::nullopt;
    }
    if (!storeOk(status))
        return std::nullopt;
    showComputation();
    return changes;
}

QString FormCS42::caseGoneText()
{
    return QStringLiteral(
        "This case no longer exists: it has been removed, perhaps from another workstation. "
        "Nothing was produced or copied. Please select a case in the Case Library.");
}

QString FormCS42::changedElsewhereQuestion(const QString& changes)
{
    return QStringLiteral(
               "This case was changed at another workstation since the worksheet showed it:\r\n\r\n") +
           QString(changes).replace(QLatin1Char('\n'), QStringLiteral("\r\n")) +
           QStringLiteral(
               "\r\n\r\nThe worksheet now shows the case as stored. Produce the form with these figures?");
}

// ---------------------------------------------------------------------------------------------
// Production

void FormCS42::ProduceForm()
{
    act([this] { produceForm(); });
}

void FormCS42::produceForm()
{
    if (!ProducingFormBox::confirm(this))
        return;
    Interaction& interaction = *m_session.interaction;
    // The form prints the case as stored now, not as this window last computed it.
    const std::optional<QList<CaptionChange>> changes = rereadCase();
    if (!changes)
        return;
    if (!changes->isEmpty() &&
        interaction.ask(this,
                        QString(),
                        changedElsewhereQuestion(WorksheetSession::describeChanges(*m_edition, *changes))) !=
            Interaction::Answer::Yes)
        return;
    // The figures must stand: the same refusal as cs42-admin produce.
    const QString refusal =
        m_sheet.worksheet() ? productionRefusal(*m_sheet.worksheet(), m_session.paths) : QString();
    if (!refusal.isEmpty()) {
        interaction.inform(this, ProductionRefusalTitle, refusal);
        return;
    }
    const QString output = m_session.paths.producedFormPath();
    const ProduceResult result = fillForm(
        m_session.paths.formTemplatePath(m_edition->templateFile), output, m_sheet.captions(), *m_edition);
    if (result.status != ProduceStatus::Produced) {
        interaction.inform(this, result.title, result.text);
        return;
    }
    // The program's preview; the viewer of the desktop when the preview cannot show the form.
    const std::optional<CaseRecord> record = m_sheet.currentCase();
    const QString caseName = record ? record->caseDesc() : m_session.currentCaseName;
    if (interaction.showDocument(this, output, producedFormPreview(m_session, *m_edition, caseName)))
        return;
    if (!interaction.openDocument(output))
        interaction.inform(
            this,
            QString(),
            QStringLiteral("The form has been saved as '") + output +
                QStringLiteral("', but no program could be found to open it. Open that file with "
                               "your PDF viewer to print it."));
}

// ---------------------------------------------------------------------------------------------
// Changes made at other workstations

bool FormCS42::event(QEvent* event)
{
    // Coming back to the program shows what was saved meanwhile at once.
    if (event->type() == QEvent::WindowActivate && m_watch)
        m_watch->checkNow();
    return QWidget::event(event);
}

void FormCS42::casesChangedElsewhere(const QString& caseId)
{
    if (!caseId.isEmpty() && caseId != m_session.currentCaseId)
        return;
    refreshFromStore();
}

void FormCS42::refreshFromStore()
{
    if (!m_sheet.worksheet() || m_caseGone)
        return;
    if (m_actionsRunning > 0 || QApplication::activeModalWidget() != nullptr) {
        m_refreshRetry.start();
        return;
    }
    QList<CaptionChange> changes;
    const CaseStoreStatus status = m_sheet.reread(&changes);
    if (status != CaseStoreStatus::Ok && status != CaseStoreStatus::CaseRemoved) {
        // Busy or out of reach just now: a file's change is not announced twice, so look again.
        m_refreshRetry.start();
        return;
    }
    if (status == CaseStoreStatus::Ok && changes.isEmpty())
        return;
    // Who made the change, and when: the newest row of the case's history.
    const QList<CaseChange> history = m_sheet.store().history(m_session.currentCaseId);
    const QString workstation = history.isEmpty() ? QString() : history.first().host;
    const QDateTime when = history.isEmpty()
                               ? QDateTime()
                               : QDateTime::fromString(history.first().time, Qt::ISODateWithMs).toLocalTime();
    if (status == CaseStoreStatus::CaseRemoved) {
        m_caseGone = true;
        showChangeNotice(caseDeletedNoticeText(workstation, when, m_session.today()));
        return;
    }
    showComputation();
    showChangeNotice(changeNoticeText(
        WorksheetSession::describeChanges(*m_edition, changes), workstation, when, m_session.today()));
}

namespace {
QString whereAndWhen(const QString& workstation, const QDateTime& when, const QDate& today)
{
    if (workstation.isEmpty())
        return QStringLiteral("another workstation");
    QString text = QStringLiteral("workstation ") + workstation;
    if (when.isValid()) {
        text += QStringLiteral(", ");
        if (when.date() != today)
            text += when.toString(QStringLiteral("M/d/yyyy "));
        text += when.toString(QStringLiteral("HH:mm"));
    }
    return text;
}
} // namespace

QString FormCS42::changeNoticeText(const QString& changes,
                                   const QString& workstation,
                                   const QDateTime& when,
                                   const QDate& today)
{
    QString text = changes.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QStringLiteral("; "));
    if (!workstation.isEmpty())
        text += QStringLiteral(", changed at ") + whereAndWhen(workstation, when, today);
    return text;
}

QString FormCS42::caseDeletedNoticeText(const QString& workstation, const QDateTime& when, const QDate& today)
{
    return QStringLiteral("This case was deleted at %1: nothing more can be saved or produced for it. "
                          "Select a case in the Case Library.")
        .arg(whereAndWhen(workstation, when, today));
}

QString FormCS42::changeNotice() const
{
    return m_notice && !m_notice->isHidden() ? m_noticeText : QString();
}

void FormCS42::showChangeNotice(const QString& text)
{
    m_noticeText = text;
    // One line: what does not fit is in the tooltip, and a screen reader reads it whole.
    const int room = m_notice->width() - 14;
    m_notice->setText(QFontMetrics(m_notice->font()).elidedText(text, Qt::ElideRight, room));
    m_notice->setToolTip(text + QStringLiteral("\n(Click to hide this notice.)"));
    m_notice->setAccessibleName(text);
    m_notice->show();
    m_notice->raise();
}

void FormCS42::ShowHistory()
{
    act([this] { showHistory(); });
}

void FormCS42::showHistory()
{
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const QList<CaseChange> changes = m_sheet.store().history(m_session.currentCaseId, &status);
    if (!storeOk(status))
        return;
    const std::optional<CaseRecord> record = m_sheet.currentCase();
    HistoryWindow window(record ? record->caseDesc() : m_session.currentCaseName, *m_edition, changes, this);
    window.exec();
}

} // namespace cs42
