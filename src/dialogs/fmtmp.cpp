#include "dialogs/fmtmp.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

#include "associations/regist.h"
#include "core/session.h"
#include "core/usermessages.h"
#include "dialogs/colourswatch.h"
#include "dialogs/fmshowdir.h"
#include "dialogs/optionschoosers.h"
#include "looks/storedlooks.h"
#include "persist/listfiles.h"

namespace {

// How long a picture may stay, in seconds, and how far the snapping may reach, in pixels.
constexpr int LongestPictureSeconds = 65;
// The red, green and blue of a QRgb, without its alpha.
constexpr quint32 RgbMask = 0xffffff;
constexpr int WidestSnapPixels = 100;
// Where the font sample stands on its colour panel, in twips; the sample grows from here.
constexpr QRect LabelFontTwips{120, 240, 915, 435};

QStringList texts(const QListWidget *list)
{
    QStringList items;
    for (int row = 0; row < list->count(); ++row)
        items.append(list->item(row)->text());
    return items;
}

void setName(QWidget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
}

QFont desktopLyricFont(const DesktopLyricSettings &look)
{
    QFont font(look.fontFamily);
    font.setPointSizeF(look.pointSize);
    font.setBold(look.bold);
    return font;
}

} // namespace

FmTmp::FmTmp(const OptionsServices &services, QWidget *parent)
    : QDialog(parent, TwipsDialogFlags), m_services(services), m_twips(*this)
{
    setUpTwipsDialog(*this, m_twips, "FmTmp", QStringLiteral("参数设置"), {6375, 4440});

    TabStrip1 = new QTabWidget(this);
    setName(TabStrip1, "TabStrip1");
    m_twips.place(TabStrip1, {120, 120, 6135, 3735});
    createDisplayPage();
    createLyricFolderPage();
    createPicturePage();
    createAssociationPage();
    if (m_services.desktopLyrics)
        createDesktopLyricPage();

    QPushButton *CmdOK = m_twips.addText<QPushButton>(this, "CmdOK", QStringLiteral("确定"),
                                                      {3960, 3960, 1000, 320});
    CmdOK->setDefault(true);
    connect(CmdOK, &QPushButton::clicked, this, [this] {
        const QPointer<FmTmp> guard(this);
        if (confirm() && guard)
            accept();
    });
    QPushButton *CmdCancel = m_twips.addText<QPushButton>(this, "CmdCancel", QStringLiteral("取消"),
                                                          {5160, 3960, 1000, 320});
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    fill();
}

QWidget *FmTmp::createPage(int index, const QString &tab, const QString &frame, int height)
{
    auto *page = new QWidget;
    TabStrip1->addTab(page, tab);
    QWidget *set = frame.isEmpty() ? new QWidget(page) : new QGroupBox(frame, page);
    set->setObjectName(QStringLiteral("FrmSet(%1)").arg(index));
    m_twips.place(set, {120, 0, 5895, height});
    FrmSet.at(index) = set;
    return set;
}

QSpinBox *FmTmp::createNumberBox(QWidget *parent, const char *name, int minimum, int maximum,
                                 QRect twips)
{
    auto *box = new QSpinBox(parent);
    setName(box, name);
    box->setRange(minimum, maximum);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setAlignment(Qt::AlignRight);
    m_twips.placeText(box, twips);
    return box;
}

void FmTmp::createDisplayPage()
{
    QWidget *page = createPage(0, QStringLiteral("显示 "), QString(), 3255);
    QWidget *Frame5 = m_twips.addText<QGroupBox>(page, "Frame5", QStringLiteral("全屏字体"),
                                                 {0, 1440, 1815, 1575});
    PicFont = new QWidget(Frame5);
    setName(PicFont, "PicFont");
    PicFont->setAccessibleName(QStringLiteral("全屏背景颜色"));
    PicFont->setAutoFillBackground(true);
    PicFont->setCursor(Qt::PointingHandCursor);
    PicFont->installEventFilter(this);
    m_twips.place(PicFont, {120, 240, 1575, 1215});
    // The panel fills its background: it starts below the frame's caption, however high the
    // font makes that, and keeps its bottom edge.
    if (const int belowCaption = Frame5->contentsRect().top(); PicFont->y() < belowCaption)
        PicFont->setGeometry(PicFont->geometry().adjusted(0, belowCaption - PicFont->y(), 0, 0));
    LabelFont =
        m_twips.addText<QLabel>(PicFont, "LabelFont", QStringLiteral("岚铃"), LabelFontTwips);
    LabelFont->setAccessibleName(QStringLiteral("全屏字体"));
    LabelFont->installEventFilter(this);

    QWidget *Frame4 = m_twips.addText<QGroupBox>(page, "Frame4", QStringLiteral("显示选项"),
                                                 {2040, 0, 3855, 1455});
    CheckFullScr = m_twips.addText<QCheckBox>(
        Frame4, "CheckFullScr", QStringLiteral("启动时全屏显示"), {120, 840, 2295, 180});
    Check1 = m_twips.addText<QCheckBox>(Frame4, "Check1", QStringLiteral("离窗口边缘有"),
                                        {120, 1125, 1455, 255});
    TextOffScrPix =
        createNumberBox(Frame4, "TextOffScrPix", 0, WidestSnapPixels, {1560, 1080, 375, 270});
    TextOffScrPix->setAccessibleName(QStringLiteral("对齐距离（像素）"));
    m_twips.addText<QLabel>(Frame4, "Label3", QStringLiteral("像素时自动与之对齐"),
                            {2040, 1155, 1620, 180});
    connect(Check1, &QCheckBox::toggled, this, &FmTmp::setSnapping);
    // A distance of 0 is snapping off, which the check box shows once the typing is done.
    connect(TextOffScrPix, &QSpinBox::editingFinished, this, [this] {
        if (TextOffScrPix->value() == 0)
            Check1->setChecked(false);
    });

    QWidget *Frame3 = m_twips.addText<QGroupBox>(page, "Frame3", QStringLiteral("显示位置"),
                                                 {2040, 1560, 3855, 1455});
    m_trayModes = new QButtonGroup(this);
    const struct
    {
        const char *name;
        QString caption;
        QRect twips;
    } modes[] = {
        {"OptTask", QStringLiteral("只在任务栏"), {120, 360, 1335, 180}},
        {"OptSystem", QStringLiteral("只在系统栏"), {120, 720, 1455, 180}},
        {"OptSyTsk", QStringLiteral("任务栏和系统栏"), {120, 1080, 1575, 180}},
    };
    for (const auto &mode : modes) {
        auto *option = m_twips.addText<QRadioButton>(Frame3, mode.name, mode.caption, mode.twips);
        m_trayModes->addButton(option, int(m_trayModes->buttons().size()));
    }
}

void FmTmp::createLyricFolderPage()
{
    QWidget *page =
        createPage(1, QStringLiteral("歌词目录 "), QStringLiteral("搜索歌词的文件夹 "), 3135);
    ListLyricDir = new QListWidget(page);
    setName(ListLyricDir, "ListLyricDir");
    m_twips.place(ListLyricDir, {240, 360, 5415, 1320});
    connect(m_twips.addText<QPushButton>(page, "CmdAddDir", QStringLiteral("添加文件夹"),
                                         {240, 1920, 1365, 320}),
            &QPushButton::clicked, this, &FmTmp::addLyricFolder);
    connect(m_twips.addText<QPushButton>(page, "Command4", QStringLiteral("移除文件夹"),
                                         {1800, 1920, 1365, 320}),
            &QPushButton::clicked, this, &FmTmp::removeLyricFolder);
    m_twips.addText<QLabel>(
        page, "Label2",
        QStringLiteral("◎ 音乐文件播放时会搜索歌词文件夹，找到并使用相应的歌词文件。"),
        {240, 2400, 5535, 255});
    m_twips.addText<QLabel>(page, "Label4", QStringLiteral("默认为\"歌曲文件所在目录\"。"),
                            {480, 2760, 2895, 255});
}

void FmTmp::createPicturePage()
{
    QWidget *page = createPage(2, QStringLiteral("图片文件"), QStringLiteral("图片选项"), 3255);
    ListPicFile = new QListWidget(page);
    setName(ListPicFile, "ListPicFile");
    ListPicFile->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_twips.place(ListPicFile, {240, 360, 3735, 1680});
    connect(ListPicFile, &QListWidget::itemClicked, this, &FmTmp::previewPicture);
    ImgView = new QLabel(page);
    setName(ImgView, "ImgView");
    ImgView->setFrameShape(QFrame::Box);
    ImgView->setScaledContents(true);
    m_twips.place(ImgView, {4080, 360, 1695, 1335});
    connect(m_twips.addText<QPushButton>(page, "Command1", QStringLiteral("添加文件"),
                                         {240, 2160, 1125, 320}),
            &QPushButton::clicked, this, &FmTmp::addPictures);
    connect(m_twips.addText<QPushButton>(page, "CmdRemovePic", QStringLiteral("移除文件"),
                                         {1560, 2160, 1125, 320}),
            &QPushButton::clicked, this, &FmTmp::removePictures);
    m_twips.addText<QLabel>(page, "Label5", QStringLiteral("图片切换间隔："),
                            {4320, 2280, 1335, 255});
    TextPicShowPerTime = createNumberBox(page, "TextPicShowPerTime", 1, LongestPictureSeconds,
                                         {4440, 2580, 495, 270});
    TextPicShowPerTime->setAccessibleName(QStringLiteral("图片切换间隔（秒）"));
    m_twips.addText<QLabel>(page, "Label6", QStringLiteral("秒/张"), {5040, 2640, 495, 255});
    // Wrapped before it is placed, so that it is made as high as its lines need.
    auto *Label1 = new QLabel(QStringLiteral("◎ 图片文件是在全屏幕状态下显示所需要的图片。"), page);
    setName(Label1, "Label1");
    Label1->setWordWrap(true);
    m_twips.placeText(Label1, {240, 2640, 2535, 375});
}

void FmTmp::createAssociationPage()
{
    QWidget *page = createPage(3, QStringLiteral("文件关联"), QString(), 3255);
    QWidget *Frame1 = m_twips.addText<QGroupBox>(page, "Frame1", QStringLiteral("关联文件类型"),
                                                 {600, 0, 4695, 3135});
    List1 = new QListWidget(Frame1);
    setName(List1, "List1");
    List1->setSpacing(1);
    m_twips.place(List1, {480, 600, 3615, 1530});
    for (const QStringView extension : AssociationExtensions) {
        auto *item = new QListWidgetItem(extension.toString(), List1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(m_twips.addText<QPushButton>(Frame1, "CmdSLall", QStringLiteral("全选"),
                                         {600, 2280, 975, 375}),
            &QPushButton::clicked, this, [this] { setAllTicks(true); });
    connect(m_twips.addText<QPushButton>(Frame1, "CmdSLnone", QStringLiteral("不选"),
                                         {3000, 2280, 975, 375}),
            &QPushButton::clicked, this, [this] { setAllTicks(false); });
}

void FmTmp::createDesktopLyricPage()
{
    QWidget *page = createPage(4, QStringLiteral("桌面歌词"), QStringLiteral("桌面歌词"), 3255);
    LabelDeskLyric = new QLabel(page);
    setName(LabelDeskLyric, "LabelDeskLyric");
    m_twips.place(LabelDeskLyric, {240, 360, 5415, 1320});
    LabelDeskLyric->setAccessibleName(QStringLiteral("桌面歌词字体"));
    LabelDeskLyric->setAlignment(Qt::AlignCenter);
    LabelDeskLyric->setFrameShape(QFrame::StyledPanel);
    connect(m_twips.addText<QPushButton>(page, "CmdDeskLyricFont", QStringLiteral("字体…"),
                                         {240, 1860, 1365, 320}),
            &QPushButton::clicked, this, &FmTmp::chooseDesktopLyricFont);
    const struct
    {
        const char *name;
        QString caption;
        quint32 DesktopLyricSettings::*colour;
        int left;
    } colours[] = {
        {"CmdDeskLyricNormal", QStringLiteral("普通颜色"), &DesktopLyricSettings::normal, 240},
        {"CmdDeskLyricHighlight", QStringLiteral("高亮颜色"), &DesktopLyricSettings::highlight,
         2100},
        {"CmdDeskLyricOutline", QStringLiteral("轮廓颜色"), &DesktopLyricSettings::outline, 3960},
    };
    for (size_t index = 0; index < std::size(colours); ++index) {
        const auto &[name, caption, colour, left] = colours[index];
        auto *button = m_twips.addText<QPushButton>(page, name, caption, {left, 2460, 1695, 320});
        connect(button, &QPushButton::clicked, this,
                [this, member = colour] { chooseDesktopLyricColour(member); });
        m_desktopColours.at(index) = {button, colour};
    }
}

void FmTmp::fill()
{
    Session &session = m_services.session;
    const SettingsRecord &settings = session.settings();
    const SharedSettings &shared = settings.shared;
    TextPicShowPerTime->setValue(shared.PicShowSeconds);
    m_snapPixels = shared.SnapPixels > 0 ? shared.SnapPixels : SharedSettings().SnapPixels;
    Check1->setChecked(shared.SnapPixels > 0);
    setSnapping(Check1->isChecked());
    if (QAbstractButton *mode = m_trayModes->button(shared.TrayMode))
        mode->setChecked(true);
    CheckFullScr->setChecked(shared.FullScreenAtStart == 1);

    const QString picturesPath = session.path(Session::File::Pictures);
    const ListFileEntries pictures =
        LoadPicList(picturesPath, QFileInfo(picturesPath).absolutePath()).value;
    ListPicFile->addItems(picListContents(pictures, ListSelection::None).items);
    ListLyricDir->addItems(LoadLyricDirList(session.path(Session::File::LyricFolders)).value.items);

    m_lyricFont = settings.lyricFont;
    m_lyricColour = settings.lyricColour;
    m_panelColour = settings.picBottomColour;
    showFontSample();
    if (LabelDeskLyric) {
        m_desktopLyrics = m_services.desktopLyrics();
        showDesktopLyricSample();
    }

    const AssociationTicks ticked = readAssociationTicks(m_services.regist);
    for (int row = 0; row < List1->count(); ++row)
        List1->item(row)->setCheckState(ticked.at(row) ? Qt::Checked : Qt::Unchecked);
    TabStrip1->setCurrentIndex(0);
    TabStrip1->tabBar()->setFocus();
}

void FmTmp::showFontSample()
{
    LabelFont->setFont(lyricFontOf(m_lyricFont));
    // The sample shows whole where the panel has room for it.
    const QRect place = m_twips.rect(LabelFontTwips);
    LabelFont->resize(place.size()
                          .expandedTo(LabelFont->sizeHint())
                          .boundedTo(PicFont->size() - QSize(place.x(), place.y())));
    setPaletteColour(*LabelFont, QPalette::WindowText, colourFromValue(m_lyricColour, palette()));
    setPaletteColour(*PicFont, QPalette::Window, colourFromValue(m_panelColour, palette()));
}

bool FmTmp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == LabelFont) {
            chooseFont();
            return true;
        }
        if (watched == PicFont) {
            chooseColour();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FmTmp::chooseFont()
{
    const FontChoice preset{LabelFont->font(), colourFromValue(m_lyricColour, palette())};
    const QPointer<FmTmp> guard(this);
    const std::optional<FontChoice> chosen = m_services.choosers.chooseFont(preset, this);
    if (!guard || !chosen)
        return;
    const QFont &font = chosen->font;
    m_lyricFont.name = font.family();
    if (font.pointSizeF() > 0)
        m_lyricFont.pointSize = font.pointSizeF();
    m_lyricFont.bold = font.bold();
    m_lyricFont.italic = font.italic();
    m_lyricFont.underline = font.underline();
    m_lyricFont.strikeOut = font.strikeOut();
    // A system colour stays one unless another colour was chosen.
    if (chosen->colour.isValid() && chosen->colour != preset.colour)
        m_lyricColour = valueFromColour(chosen->colour);
    showFontSample();
}

void FmTmp::chooseColour()
{
    const QColor preset = colourFromValue(m_panelColour, palette());
    const QPointer<FmTmp> guard(this);
    const std::optional<QColor> chosen = m_services.choosers.chooseColour(preset, this);
    if (!guard || !chosen || !chosen->isValid() || *chosen == preset)
        return;
    m_panelColour = valueFromColour(*chosen);
    showFontSample();
}

void FmTmp::showDesktopLyricSample()
{
    // A line half sung: its first words in the highlight colour.
    LabelDeskLyric->setText(QStringLiteral("<span style=\"color:%1\">岚铃</span>歌词")
                                .arg(QColor(m_desktopLyrics.highlight).name()));
    LabelDeskLyric->setFont(desktopLyricFont(m_desktopLyrics));
    setPaletteColour(*LabelDeskLyric, QPalette::WindowText, QColor(m_desktopLyrics.normal));
    for (const auto &[button, colour] : m_desktopColours)
        button->setIcon(colourSwatch(QColor(m_desktopLyrics.*colour)));
}

// The font chooser's colour is the colour of the lines not yet sung.
void FmTmp::chooseDesktopLyricFont()
{
    const QPointer<FmTmp> guard(this);
    const std::optional<FontChoice> chosen = m_services.choosers.chooseFont(
        {desktopLyricFont(m_desktopLyrics), QColor(m_desktopLyrics.normal)}, this);
    if (!guard || !chosen)
        return;
    m_desktopLyrics.fontFamily = chosen->font.family();
    if (chosen->font.pointSizeF() > 0)
        m_desktopLyrics.pointSize = chosen->font.pointSizeF();
    m_desktopLyrics.bold = chosen->font.bold();
    if (chosen->colour.isValid())
        m_desktopLyrics.normal = chosen->colour.rgb() & RgbMask;
    showDesktopLyricSample();
}

void FmTmp::chooseDesktopLyricColour(quint32 DesktopLyricSettings::*colour)
{
    const QPointer<FmTmp> guard(this);
    const std::optional<QColor> chosen =
        m_services.choosers.chooseColour(QColor(m_desktopLyrics.*colour), this);
    if (!guard || !chosen || !chosen->isValid())
        return;
    m_desktopLyrics.*colour = chosen->rgb() & RgbMask;
    showDesktopLyricSample();
}

void FmTmp::addPictures()
{
    const QPointer<FmTmp> guard(this);
    const QStringList chosen = m_services.choosers.choosePictures(this);
    if (guard)
        ListPicFile->addItems(chosen);
}

void FmTmp::removePictures()
{
    for (int row = ListPicFile->count() - 1; row >= 0; --row) {
        if (ListPicFile->item(row)->isSelected())
            delete ListPicFile->takeItem(row);
    }
}

// The picture is read at the preview's size (the preview stretches it anyway), so a large
// photo does not hold up the dialog.
void FmTmp::previewPicture(QListWidgetItem *item)
{
    QImageReader reader(item->text());
    reader.setAutoTransform(true);
    const qreal ratio = devicePixelRatioF();
    reader.setScaledSize(ImgView->contentsRect().size() * ratio);
    QImage picture = reader.read();
    if (picture.isNull()) {
        m_services.messages.tell(UserMessages::Tone::Warning, QStringLiteral("图片文件错误！"));
        return;
    }
    picture.setDevicePixelRatio(ratio);
    ImgView->setPixmap(QPixmap::fromImage(picture));
}

void FmTmp::addLyricFolder()
{
    if (m_folderChooser) {
        m_folderChooser->raise();
        m_folderChooser->activateWindow();
        return;
    }
    m_folderChooser = new FmShowDir(this);
    connect(m_folderChooser, &FmShowDir::folderChosen, ListLyricDir,
            [this](const QString &folder) { ListLyricDir->addItem(folder); });
    m_folderChooser->show();
}

void FmTmp::removeLyricFolder()
{
    const QList<QListWidgetItem *> selected = ListLyricDir->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
}

void FmTmp::setAllTicks(bool ticked)
{
    for (int row = 0; row < List1->count(); ++row)
        List1->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

// Snapping off is a distance of 0; ticked again, the box gets back the distance it had.
void FmTmp::setSnapping(bool on)
{
    if (on) {
        if (TextOffScrPix->value() == 0)
            TextOffScrPix->setValue(m_snapPixels);
    } else if (TextOffScrPix->value() > 0) {
        m_snapPixels = TextOffScrPix->value();
        TextOffScrPix->setValue(0);
    }
    TextOffScrPix->setEnabled(on);
}

AssociationTicks FmTmp::ticks() const
{
    AssociationTicks ticked{};
    for (int row = 0; row < List1->count(); ++row)
        ticked.at(row) = List1->item(row)->checkState() == Qt::Checked;
    return ticked;
}

bool FmTmp::confirm()
{
    Session &session = m_services.session;
    SettingsRecord settings = session.settings();
    SharedSettings &shared = settings.shared;
    shared.PicShowSeconds = TextPicShowPerTime->value();
    shared.SnapPixels = TextOffScrPix->value();
    if (const int mode = m_trayModes->checkedId(); mode >= 0)
        shared.TrayMode = mode;
    shared.FullScreenAtStart = CheckFullScr->isChecked() ? 1 : 0;
    settings.lyricFont = m_lyricFont;
    settings.lyricColour = m_lyricColour;
    settings.picBottomColour = m_panelColour;

    const auto written = [&](Session::File file, const WriteResult &result) {
        if (!result.ok)
            m_services.messages.tell(UserMessages::Tone::Warning,
                                     writeFailureText(session.path(file), result.error));
        return result.ok;
    };
    if (!written(Session::File::Pictures, session.replaceListPic(texts(ListPicFile))) ||
        !written(Session::File::LyricFolders, session.replaceListLyricDir(texts(ListLyricDir))))
        return false;
    confirmAssociations(m_services.regist, m_services.programPath, ticks());
    if (LabelDeskLyric) {
        // The window may have moved, been locked or closed while the dialog was open.
        DesktopLyricSettings look = m_services.desktopLyrics();
        look.fontFamily = m_desktopLyrics.fontFamily;
        look.pointSize = m_desktopLyrics.pointSize;
        look.bold = m_desktopLyrics.bold;
        look.normal = m_desktopLyrics.normal;
        look.highlight = m_desktopLyrics.highlight;
        look.outline = m_desktopLyrics.outline;
        m_services.setDesktopLyrics(look);
    }
    return written(Session::File::Settings, session.saveSettings(settings));
}
