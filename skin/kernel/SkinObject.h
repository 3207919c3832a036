// TSkinObject, the base of every skin object that takes over a window (frame
// objects, popup menus, control adapters and the media player's panel).
// It owns the object's liveness token and its one deferred-free path: an
// object whose handler is on the stack is freed when the outermost handler
// returns, never under it. GUI thread only.
#pragma once

#include <memory>

class TSkinObject {
    struct TLife {
        TSkinObject* Object;
        int Busy = 0;
        bool FreePending = false;
    };

public:
    TSkinObject() : FLife(std::make_shared<TLife>(TLife{this})) {}
    virtual ~TSkinObject() { FLife->Object = nullptr; }
    TSkinObject(const TSkinObject&) = delete;
    TSkinObject& operator=(const TSkinObject&) = delete;

    // Tells a caller, after a call that ran user code or a modal loop,
    // whether the object is still in service: not freed by its owner, and
    // not waiting to be freed (its memory is still there, but it has let go).
    class TToken {
    public:
        bool Alive() const noexcept { return FLife->Object != nullptr && !FLife->FreePending; }

    private:
        friend class TSkinObject;
        explicit TToken(std::shared_ptr<const TLife> Life) : FLife(std::move(Life)) {}
        std::shared_ptr<const TLife> FLife;
    };
    TToken Token() const { return TToken(FLife); }

    // One of the object's handlers is on the stack.
    bool Busy() const noexcept { return FLife->Busy > 0; }
    // Frees the object now, or when its outermost handler returns; its
    // token reports it gone from this moment.
    void FreeDeferred();

    // Marks a handler of the object on the stack for as long as it lives;
    // the kernel wraps every handler it calls in one.
    class THandlerScope {
    public:
        explicit THandlerScope(TSkinObject& Object) : FLife(Object.FLife) { ++FLife->Busy; }
        ~THandlerScope();
        THandlerScope(const THandlerScope&) = delete;
        THandlerScope& operator=(const THandlerScope&) = delete;
    private:
        std::shared_ptr<TLife> FLife;
    };

private:
    std::shared_ptr<TLife> FLife;
};
