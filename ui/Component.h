#pragma once
// Components: named objects owned by another component, which destroys them.
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class TObject {
public:
    virtual ~TObject() = default;
    // The exact class name; rules that apply by class compare it exactly.
    virtual const char* ClassName() const = 0;
};

class TComponent : public TObject {
public:
    TComponent(TComponent* owner, std::string name);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    TComponent* Owner() const { return owner_; }

    // Owned components in creation order.
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    // The owned component of that name, ignoring letter case; null when there is none.
    TComponent* FindComponent(std::string_view name) const;

    int Tag = 0;

protected:
    // Destroys the owned components, newest first.
    void DestroyComponents();

private:
    std::string name_;
    TComponent* owner_;
    std::vector<TComponent*> components_;
};

// Letter case ignored for ASCII letters, as component names are identifiers.
bool SameName(std::string_view a, std::string_view b);

}  // namespace ui
