#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/LBroadcaster.h"

namespace {

class Recorder : public LListener {
public:
    explicit Recorder(std::vector<MessageT>& heard, std::function<void()> onMessage = {})
        : mHeard(heard), mOnMessage(std::move(onMessage))
    {
    }
    void ListenToMessage(MessageT message, void*) override
    {
        mHeard.push_back(message);
        if (mOnMessage)
            mOnMessage();
    }

private:
    std::vector<MessageT>& mHeard;
    std::function<void()> mOnMessage;
};

TEST(LBroadcaster, SendsToListeningListenersInOrder)
{
    std::vector<MessageT> first, second;
    Recorder a(first), b(second);
    LBroadcaster broadcaster;
    broadcaster.AddListener(&a);
    broadcaster.AddListener(&b);
    broadcaster.AddListener(&a); // once only
    broadcaster.BroadcastMessage(900);
    b.StopListening();
    broadcaster.BroadcastMessage(901);
    broadcaster.StopBroadcasting();
    broadcaster.BroadcastMessage(902);
    EXPECT_EQ(first, (std::vector<MessageT>{900, 901}));
    EXPECT_EQ(second, (std::vector<MessageT>{900}));
}

TEST(LBroadcaster, EitherSideMayGoFirst)
{
    std::vector<MessageT> heard;
    auto listener = std::make_unique<Recorder>(heard);
    {
        LBroadcaster broadcaster;
        broadcaster.AddListener(listener.get());
        EXPECT_TRUE(listener->HasBroadcaster(&broadcaster));
    }
    listener.reset(); // must not reach the broadcaster that is gone

    LBroadcaster broadcaster;
    {
        Recorder shortLived(heard);
        broadcaster.AddListener(&shortLived);
    }
    broadcaster.BroadcastMessage(1);
    EXPECT_TRUE(heard.empty());
}

TEST(LBroadcaster, AListenerMayDeleteItselfWhileListening)
{
    std::vector<MessageT> heard;
    LBroadcaster broadcaster;
    Recorder* selfDeleting = nullptr;
    selfDeleting = new Recorder(heard, [&] { delete selfDeleting; });
    Recorder stays(heard);
    broadcaster.AddListener(selfDeleting);
    broadcaster.AddListener(&stays);
    broadcaster.BroadcastMessage(5);
    broadcaster.BroadcastMessage(6);
    EXPECT_EQ(heard, (std::vector<MessageT>{5, 5, 6}));
}

TEST(LBroadcaster, AListenerMayDeleteTheBroadcasterWhileListening)
{
    std::vector<MessageT> first, second;
    auto* broadcaster = new LBroadcaster;
    Recorder deleter(first, [&] { delete broadcaster; });
    Recorder later(second);
    broadcaster->AddListener(&deleter);
    broadcaster->AddListener(&later);
    broadcaster->BroadcastMessage(900);
    EXPECT_EQ(first, std::vector<MessageT>{900});
    EXPECT_TRUE(second.empty()) << "the broadcast went on after its broadcaster was gone";
    EXPECT_FALSE(later.HasBroadcaster(broadcaster));
}

} // namespace
