// The player's creation, shutdown and the frame procedure's stages.
#include "engine/player.h"

#include "core/encoding.h"
#include "core/error.h"
#include "core/path_names.h"
#include "engine/call_man.h"
#include "engine/data_mount.h"
#include "engine/player_sys_host.h"
#include "engine/project.h"
#include "engine/project_image_source.h"
#include "engine/run_warnings.h"
#include "expr/db_manager.h"
#include "expr/ope_evaluator.h"
#include "expr/param_collection.h"
#include "expr/sys_func_man.h"
#include "expr/system_variables.h"
#include "graphics/brio_collection.h"
#include "graphics/image_depth_flag.h"
#include "objects/screen_component_role.h"
#include "objects/screen_input_role.h"
#include "objects/tova_base_list.h"
#include "platform/file_system.h"
#include "text/read_list.h"
#include "vfs/file_manager.h"

namespace tova {

TPlayer::TPlayer(const TPlayerOptions& options)
    : log_(options.Log), random_(options.Seed ? *options.Seed : std::random_device{}()) {}

std::unique_ptr<TPlayer> TPlayer::Open(const TPlayerOptions& options) {
    if (!options.MessageBox) throw ETovaError("the player needs a message box");
    std::unique_ptr<TPlayer> player(new TPlayer(options));
    player->Create(options);
    return player;
}

void TPlayer::Create(const TPlayerOptions& options) {
    const TDataFolder& dataFolder = options.DataFolder;
    warnings_ = std::make_unique<TRunWarnings>(options.Warnings);

    TVrFileManagerOptions fileOptions;
    fileOptions.messageBox = options.MessageBox;
    fileOptions.maxDiscRequests = options.MaxDiscRequests;
    files_ = std::make_unique<TVrFileManager>(std::move(fileOptions));
    MountGameData(*files_, dataFolder, options.ExecutablePath, options.Parameters);

    variables_ = std::make_unique<TParamCollection>();
    database_ = std::make_unique<TDBManager>();
    database_->Files = files_.get();
    // The roles of the layers that exist so far; the others answer with
    // their defaults.
    scriptRole_ = std::make_unique<TPlayerSysHost>(flags_, callMan_, project_);
    roles_.ScriptRole = scriptRole_.get();
    roles_.ShellRole = options.ShellRole;
    systemVariables_ = std::make_unique<TSystemVariables>(*variables_, &roles_);
    variables_->SetSystemHost(systemVariables_.get());
    functions_ = std::make_unique<TSysFuncMan>(TSysFuncEnvironment{
        variables_.get(), files_.get(), database_.get(), &roles_, &random_, warnings_.get()});
    evaluator_ = std::make_unique<TOpeEvaluator>(*variables_, functions_.get());
    evaluator_->SetWarnings(warnings_.get());
    readList_ = std::make_unique<TTovaReadList>();
    imageDepth_ = std::make_unique<TImageDepthFlag>();
    screen_ = std::make_unique<TTovaBaseList>();
    inputRole_ = std::make_unique<TScreenInputRole>(*screen_);
    componentRole_ = std::make_unique<TScreenComponentRole>(*screen_);
    roles_.InputRole = inputRole_.get();
    roles_.ComponentRole = componentRole_.get();

    TProjectEnvironment environment;
    environment.ExecutablePath = options.ExecutablePath;
    environment.DataFolder = dataFolder;
    environment.SaveFolder = options.SaveFolder;
    environment.Files = files_.get();
    environment.Variables = variables_.get();
    environment.MessageBox = options.MessageBox;
    environment.Flags = &flags_;
    environment.ReadList = readList_.get();
    environment.ImageDepth = imageDepth_.get();
    environment.Database = database_.get();
    environment.MaxDiscRequests = options.MaxDiscRequests;
    environment.Trace = options.Log;
    project_ = std::make_unique<TProject>(std::move(environment));
    if (!project_->Loaded()) throw ETovaError("the project could not start");
    const int32_t width = project_->Width;
    const int32_t height = project_->Height;
    // The screen's surfaces have a largest side; a bigger game would be cut
    // off without a word, so it is refused here.
    constexpr int32_t kMaxScreenSide = TTovaBaseList::kMaxSide;
    if (width < 1 || height < 1 || width > kMaxScreenSide || height > kMaxScreenSide)
        throw ETovaError("the game's screen size " + std::to_string(width) + " x " + std::to_string(height) +
                         " is not usable: each side must be 1 to " + std::to_string(kMaxScreenSide) +
                         " pixels");
    imageSource_ = std::make_unique<TProjectImageSource>(*project_, *files_);
    images_ = std::make_unique<TBrioCollection>(*imageSource_);
    images_->SetImageKey(static_cast<uint32_t>(project_->ImageKey));
    images_->SetDepthConversion(imageDepth_->DepthConversion);
    // A missing or damaged picture shows as its 8 x 8 frame; the author hears of it.
    images_->OnLoadError = [warnings = warnings_.get()](const std::string& utf8Message) {
        warnings->Warn(Utf8ToCp932Lossy(utf8Message));
    };
    screen_->SetImageCache(images_.get());
    screen_->SetEvaluator(evaluator_.get());
    screen_->SetWarnings(options.Log, options.CommandLog);
    screen_->SetSize(width, height);

    TCallManEnvironment callEnvironment;
    callEnvironment.Host = project_.get();
    callEnvironment.Files = files_.get();
    callEnvironment.Vars = variables_.get();
    callEnvironment.Evaluator = evaluator_.get();
    callEnvironment.Screen = screen_.get();
    callEnvironment.Flags = &flags_;
    callEnvironment.MessageBox = options.MessageBox;
    callEnvironment.Database = database_.get();
    callEnvironment.Log = options.CommandLog;
    callEnvironment.Errors = options.Log;
    callEnvironment.Warnings = warnings_.get();
    callMan_ = std::make_unique<TCallMan>(callEnvironment);
    project_->Start(*callMan_);
    if (!project_->Loaded()) throw ETovaError("the project could not start");
}

TPlayer::~TPlayer() {
    // The shutdown order: the interpreter and the project, the functions,
    // the variables; then the screen and the rest.
    callMan_.reset();
    project_.reset();
    evaluator_.reset();
    functions_.reset();
    if (variables_) variables_->SetSystemHost(nullptr);
    systemVariables_.reset();
    variables_.reset();
    screen_.reset();
    images_.reset();
}

bool TPlayer::IsIdle() const {
    return callMan_->IsFinished() && !screen_->Events.NextPending() && project_->PendingLoadSlot < 0 &&
           project_->PendingSaveSlot < 0;
}

TWarningSink& TPlayer::Warnings() {
    return *warnings_;
}

TInputSink& TPlayer::Input() {
    return *screen_;
}

bool TPlayer::RunFrame(TFrameSource& source) {
    const std::optional<int32_t> elapsed = source.Clock().NextFrame();
    source.PumpInput(Input());
    if (!elapsed) return false;
    flags_.LastTick = source.Clock().LastTick();
    presentation_ = source.Presentation();
    DoFrame(*elapsed);
    if (const std::optional<int32_t> rate = frameRate_.Add(*elapsed)) screen_->FrameRate = *rate;
    return true;
}

void TPlayer::BeginShutdown() {
    if (phase_ != TPlayerPhase::Running) return;
    endPageFrames_ = 0;
    phase_ = project_->StartEndPage(*callMan_) ? TPlayerPhase::EndPage : TPlayerPhase::Ended;
}

void TPlayer::Finish() {
    if (phase_ == TPlayerPhase::Finished) return;
    flags_.Stop = true;
    phase_ = TPlayerPhase::Finished;
    project_->WriteStatusRecord();
}

}  // namespace tova
