// TStrings, the list of text lines behind Items and Lines properties, and
// TStringList, the plain list. Controls derive their own TStrings that keep
// the lines in their window. Lines are 8-bit GB2312 text.
#pragma once

#include "Classes.h"
#include "SysUtils.h"

#include <string>
#include <string_view>
#include <vector>

class EListError : public Exception {
    using Exception::Exception;
};

class TStrings : public TPersistent {
public:
    DECLARE_CLASS_INFO()

    virtual int Count() const = 0;
    // An index outside 0..Count-1 (Insert: 0..Count) raises EListError.
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S);
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int Index) const { return Get(Index); }
    int Add(const std::string& S);
    // Exact, case-sensitive match; -1 when absent.
    int IndexOf(std::string_view S) const;
    // Lines joined with CR LF after each line; SetText splits on CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view Text);
    void Assign(const std::vector<std::string>& Lines);
    std::vector<std::string> ToVector() const;

    // Changes made between BeginUpdate and the matching EndUpdate may be
    // shown only at the end: a list kept in a window then redraws once.
    // Pairs nest.
    void BeginUpdate();
    void EndUpdate();

protected:
    // The outermost update begins (true) or ends (false).
    virtual void SetUpdateState(bool) {}

private:
    int FUpdateCount = 0;
};

// Holds a list's update (BeginUpdate) for its own life.
class TStringsUpdate {
public:
    explicit TStringsUpdate(TStrings& Strings) : FStrings(Strings) { FStrings.BeginUpdate(); }
    ~TStringsUpdate() { FStrings.EndUpdate(); }
    TStringsUpdate(const TStringsUpdate&) = delete;
    TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
    TStrings& FStrings;
};

class TStringList : public TStrings {
public:
    DECLARE_CLASS_INFO()

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override { FItems.clear(); }

private:
    std::vector<std::string> FItems;
};

