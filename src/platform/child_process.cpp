#include "platform/child_process.h"

#include "platform/native_text.h"

namespace lw {

namespace {

class Adapted_Child final : public Child_Process {
public:
    explicit Adapted_Child(std::unique_ptr<os::Child> child) : m_child(std::move(child)) {}
    qint64 Pid() const override { return m_child->Pid(); }
    bool Has_Ended() override { return m_child->Has_Ended(); }
    Process_Exit Exit() const override { return m_child->Exit(); }

private:
    std::unique_ptr<os::Child> m_child;
};

} // namespace

std::unique_ptr<Child_Process> Child_Process::Start(const QString& program, const QStringList& arguments, bool hidden,
                                                    QString& error)
{
    std::vector<std::string> args;
    for (const QString& a : arguments)
        args.push_back(Native_Argument(a));
    std::string reason;
    std::unique_ptr<os::Child> child = os::Child::Start(Native_Path(program), args, hidden, reason);
    if (!child) {
        error = From_Native(reason);
        return nullptr;
    }
    return std::make_unique<Adapted_Child>(std::move(child));
}

} // namespace lw
