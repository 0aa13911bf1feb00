#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QStringList>

#include <future>
#include <thread>

// Reads the system's font configuration on a thread of its own while the application object and the start
// window are built, and once the application object stands fills Qt's font database from it, so the first
// paint finds both done instead of doing them then. Qt's font database asks the same library, which keeps
// one configuration per process, and may be filled from any thread. Where fonts are not found that way (no
// fontconfig in this Qt, or another system), nothing is started.
//
// Create it before the application object; call applicationCreated() once that stands and wait() before
// anything is painted and before the application object goes. Without applicationCreated(), the font
// database is left alone.
class FontConfigurationWarmUp
{
public:
    FontConfigurationWarmUp();
    ~FontConfigurationWarmUp();
    FontConfigurationWarmUp(const FontConfigurationWarmUp &) = delete;
    FontConfigurationWarmUp &operator=(const FontConfigurationWarmUp &) = delete;

    void applicationCreated();
    // Returns once the work is done, at once where nothing was started.
    void wait();

private:
    void answer(bool applicationStands);

    std::thread m_thread;
    std::promise<bool> m_application;
    bool m_answered = false;
};

// Decodes pictures on a thread of their own while the caller goes on building its window; pixmap() waits
// for them. A picture that cannot be read gives a null pixmap, as QPixmap(path) would.
class PictureLoader
{
public:
    explicit PictureLoader(const QStringList &paths);
    ~PictureLoader();
    PictureLoader(const PictureLoader &) = delete;
    PictureLoader &operator=(const PictureLoader &) = delete;

    // The picture of paths[index], handed over once; call from the thread that owns the widgets.
    QPixmap pixmap(int index);

private:
    void wait();

    QStringList m_paths;
    QList<QImage> m_images;
    std::thread m_thread;
};
