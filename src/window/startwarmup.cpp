#include "window/startwarmup.h"

#include <QFontDatabase>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#define RM425T_FONTCONFIG 1
#endif

FontConfigurationWarmUp::FontConfigurationWarmUp()
{
#ifdef RM425T_FONTCONFIG
    // Only when the library is loaded already, that is when Qt's font database will use it: a Qt that
    // finds its fonts otherwise never pays for it.
    void *library = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    const auto init = reinterpret_cast<int (*)()>(dlsym(library, "FcInit"));
    if (!init) {
        dlclose(library);
        return;
    }
    m_thread = std::thread([library, init, application = m_application.get_future()]() mutable {
        init();
        dlclose(library);
        if (application.get())
            QFontDatabase::families();
    });
#endif
}

FontConfigurationWarmUp::~FontConfigurationWarmUp()
{
    wait();
}

void FontConfigurationWarmUp::answer(bool applicationStands)
{
    if (m_answered)
        return;
    m_answered = true;
    m_application.set_value(applicationStands);
}

void FontConfigurationWarmUp::applicationCreated()
{
    answer(true);
}

void FontConfigurationWarmUp::wait()
{
    // Asked before applicationCreated(), the thread is told there is nothing more to do.
    answer(false);
    if (m_thread.joinable())
        m_thread.join();
}

PictureLoader::PictureLoader(const QStringList &paths)
    : m_paths(paths)
{
    m_images.resize(paths.size());
    // QImage, unlike QPixmap, may be made on any thread; each slot is written by the thread alone until
    // it is joined. A picture with transparency is premultiplied here, as the pixmap keeps it, so that
    // turning it into one is no more than taking it over.
    m_thread = std::thread([this] {
        for (qsizetype i = 0; i < m_paths.size(); ++i) {
            QImage image(m_paths.at(i));
            if (image.hasAlphaChannel())
                image.convertTo(QImage::Format_ARGB32_Premultiplied);
            m_images[i] = std::move(image);
        }
    });
}

PictureLoader::~PictureLoader()
{
    wait();
}

void PictureLoader::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

QPixmap PictureLoader::pixmap(int index)
{
    wait();
    if (index < 0 || index >= m_images.size())
        return {};
    return QPixmap::fromImage(std::move(m_images[index]));
}
