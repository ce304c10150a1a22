#pragma once
// A notification that any number of listeners follow. A listener holds the
// Subscription it was given; destroying it removes exactly that listener, so a
// window being taken down can never silence the window that replaced it, and a
// notification never reaches a window that is gone.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tarvane {

class Subscription {
  public:
    Subscription() = default;
    Subscription(std::weak_ptr<void> owner, std::function<void()> remove)
        : owner_(std::move(owner)), remove_(std::move(remove)) {}
    Subscription(Subscription&& o) noexcept { *this = std::move(o); }
    Subscription& operator=(Subscription&& o) noexcept {
        if (this != &o) {
            Reset();
            owner_ = std::move(o.owner_);
            remove_ = std::move(o.remove_);
            o.remove_ = nullptr;
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { Reset(); }

    // Stops listening; harmless when the signal is already gone.
    void Reset() {
        if (remove_ && !owner_.expired()) remove_();
        remove_ = nullptr;
        owner_.reset();
    }

  private:
    std::weak_ptr<void> owner_;
    std::function<void()> remove_;
};

template <class... Args> class Signal {
  public:
    using Handler = std::function<void(Args...)>;

    Signal() = default;
    // Listeners belong to the windows of the object they subscribed to: a copy
    // (a scratch Program, say) starts with none, and assigning keeps the target's.
    Signal(const Signal&) {}
    Signal& operator=(const Signal&) { return *this; }

    [[nodiscard]] Subscription Subscribe(Handler h) {
        const uint64_t id = state_->next++;
        state_->listeners.push_back({id, std::make_shared<Handler>(std::move(h))});
        std::weak_ptr<State> weak = state_;
        return Subscription(state_, [weak, id] {
            if (auto s = weak.lock())
                std::erase_if(s->listeners, [id](const Entry& e) { return e.id == id; });
        });
    }

    // Calls every listener subscribed when the call starts and still subscribed
    // when its turn comes (a listener may close another window).
    void operator()(Args... args) const {
        const std::vector<Entry> now = state_->listeners;
        for (const Entry& e : now)
            if (Listening(e.id)) (*e.handler)(args...);
    }

    explicit operator bool() const { return !state_->listeners.empty(); }
    size_t Listeners() const { return state_->listeners.size(); }

  private:
    struct Entry {
        uint64_t id;
        std::shared_ptr<Handler> handler;
    };
    struct State {
        std::vector<Entry> listeners;
        uint64_t next = 1;
    };
    bool Listening(uint64_t id) const {
        for (const Entry& e : state_->listeners)
            if (e.id == id) return true;
        return false;
    }
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace tarvane
