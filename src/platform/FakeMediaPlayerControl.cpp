#include "platform/FakeMediaPlayerControl.h"

#include <algorithm>

namespace veltra {

void FakeMediaPlayerControl::setFileName(const QString& path)
{
    history.append(QStringLiteral("FileName=") + path);
    m_fileName = path;
    m_loaded = !path.isEmpty();
    m_position = 0;
    m_duration = path.isEmpty() ? 0 : nextDuration;
    m_state = State::Stopped;
}

void FakeMediaPlayerControl::setCurrentPosition(double seconds)
{
    history.append(QStringLiteral("CurrentPosition=") + QString::number(seconds));
    m_position = std::clamp(seconds, 0.0, m_duration);
}

void FakeMediaPlayerControl::Play()
{
    history.append(QStringLiteral("Play"));
    if (m_loaded) m_state = State::Playing;
}

void FakeMediaPlayerControl::Pause()
{
    history.append(QStringLiteral("Pause"));
    if (m_state == State::Playing) m_state = State::Paused;
}

void FakeMediaPlayerControl::Stop()
{
    history.append(QStringLiteral("Stop"));
    m_state = State::Stopped;
    m_position = 0;
}

void FakeMediaPlayerControl::Unload(const QString& name)
{
    history.append(QStringLiteral("Unload"));
    m_fileName = name;
    m_loaded = false;
    m_position = 0;
    m_duration = 0;
    m_state = State::Stopped;
}

void FakeMediaPlayerControl::fail(const QString& reason)
{
    m_state = State::Stopped;
    emit Error(reason);
}

void FakeMediaPlayerControl::advance(double seconds)
{
    if (m_state != State::Playing) return;
    m_position += seconds;
    if (m_position >= m_duration) finish();
}

void FakeMediaPlayerControl::finish()
{
    m_position = m_duration;
    m_state = State::Stopped;
    emit EndOfStream();
}

} // namespace veltra
