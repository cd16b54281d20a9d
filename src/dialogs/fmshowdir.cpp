#include "dialogs/fmshowdir.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>

#include "dialogs/twipslayout.h"

namespace {

constexpr int PathRole = Qt::UserRole;

QString volumeCaption(const QStorageInfo &volume)
{
    const QString name = volume.displayName();
    return name.isEmpty() || name == volume.rootPath()
               ? volume.rootPath()
               : QStringLiteral("%1  [%2]").arg(volume.rootPath(), name);
}

} // namespace

FmShowDir::FmShowDir(QWidget *parent) : QDialog(parent, TwipsDialogFlags)
{
    const TwipsLayout twips(*this);
    setUpTwipsDialog(*this, twips, "FmShowDir", QStringLiteral("选择目录"), {4335, 4770});

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setAccessibleName(QStringLiteral("驱动器"));
    twips.placeText(Drive1, {240, 240, 3855, 300});
    Dir1 = new QTreeWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(QStringLiteral("文件夹"));
    Dir1->setHeaderHidden(true);
    Dir1->setRootIsDecorated(false);
    // Nothing folds, so there are no branch marks.
    Dir1->setItemsExpandable(false);
    Dir1->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    Dir1->setIndentation(twips.rect({0, 0, 180, 0}).width());
    twips.place(Dir1, {240, 720, 3855, 3450});
    CmdOK =
        twips.addText<QPushButton>(this, "CmdOK", QStringLiteral("确定"), {1920, 4350, 975, 300});
    CmdCancel = twips.addText<QPushButton>(this, "CmdCancel", QStringLiteral("取消"),
                                           {3120, 4350, 975, 300});

    fillVolumes();
    if (!setOpenFolder(QDir::currentPath()))
        setOpenFolder(QDir::rootPath());
    connect(Drive1, &QComboBox::activated, this, &FmShowDir::chooseVolume);
    connect(Dir1, &QTreeWidget::itemActivated, this, &FmShowDir::openEntry);
    connect(CmdOK, &QPushButton::clicked, this, &FmShowDir::CmdOK_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FmShowDir::fillVolumes()
{
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            Drive1->addItem(volumeCaption(volume), volume.rootPath());
    }
}

// The drive selector shows the volume the open folder lies on.
void FmShowDir::showVolumeOf(const QString &folder)
{
    const QString root = QStorageInfo(folder).rootPath();
    int index = Drive1->findData(root);
    if (index < 0 && !root.isEmpty()) {
        Drive1->addItem(root, root);
        index = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(index);
}

bool FmShowDir::setOpenFolder(const QString &folder)
{
    const QDir dir(QDir::cleanPath(QDir(folder).absolutePath()));
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QString path = dir.path();
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::LocaleAware);
    m_openFolder = path;
    Dir1->clear();
    // The open folder and its ancestors show open folders, each the parent item of the next;
    // the subfolders closed ones.
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem *parent = nullptr;
    QString at;
    const QStringList names = path.split(u'/', Qt::SkipEmptyParts);
    for (int level = -1; level < int(names.size()); ++level) {
        at = level < 0 ? QDir::rootPath() : QDir(at).filePath(names.at(level));
        const QString caption = level < 0 ? QDir::rootPath() : names.at(level);
        auto *item =
            parent ? new QTreeWidgetItem(parent, {caption}) : new QTreeWidgetItem(Dir1, {caption});
        item->setIcon(0, openIcon);
        item->setData(0, PathRole, at);
        item->setExpanded(true);
        parent = item;
    }
    for (const QString &name : subfolders) {
        auto *item = new QTreeWidgetItem(parent, {name});
        item->setIcon(0, closedIcon);
        item->setData(0, PathRole, dir.filePath(name));
    }
    Dir1->setCurrentItem(parent);
    showVolumeOf(path);
    return true;
}

void FmShowDir::chooseVolume(int index)
{
    if (!setOpenFolder(Drive1->itemData(index).toString()))
        showVolumeOf(m_openFolder);
}

void FmShowDir::openEntry(QTreeWidgetItem *item)
{
    if (item)
        setOpenFolder(item->data(0, PathRole).toString());
}

void FmShowDir::CmdOK_Click()
{
    const QString folder =
        m_openFolder.endsWith(u'/') ? m_openFolder : m_openFolder + QLatin1Char('/');
    emit folderChosen(folder);
    close();
}
