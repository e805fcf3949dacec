// The text tables, one per language, and the locale rule that picks one.
// A new language is one more table below and one more line in the rule.
#include "app/texts.h"

namespace app {

const wchar_t kProgramTitle[] = L"Tavrik Backup";

namespace {

const Texts kEnglish = [] {
  Texts t;
  ControlTexts& c = t.control_texts;
  c.user = L"User:";
  c.system = L"O.S.:";
  c.mail = L"Mail:";
  c.mail_status = L"Outlook is:";
  c.sources = L"Select folders";
  c.total = L"Backup size:";
  c.target = L"&Backup to:";
  c.existing_files = L"If exist files in backup folder:";
  c.merge_note = L"- Files will be merged. ";
  c.overwrite_note = L"- Files with identical name will be overwritten.";
  c.write_log = L"Write log file";
  c.view_log = L"View log";
  c.file_menu = L"&File";
  c.exit_item = L"E&xit";
  c.help_menu = L"&Help";
  c.about_item = L"&About";
  c.changed_only_item = L"&Copy only new and changed files";
  c.kept_note = L"- Files with identical name, size and date are kept.";
  c.keep_versions_item = L"&Keep replaced versions";
  c.versions_note = L"- Files with identical name are replaced, older copies kept.";
  c.changed_versions_note = L"- Only changed files are replaced, older copies kept.";
  c.schedule_item = L"&Schedule backups...";

  ScheduleTexts& sc = t.schedule;
  sc.title = L"Schedule backups";
  sc.off = L"Off";
  sc.daily = L"Every day";
  sc.weekly = L"Every week";
  sc.logon = L"When I sign in";
  sc.time = L"&Time:";
  sc.on_battery = L"Also on battery power";
  sc.ok = L"OK";
  sc.cancel = L"Cancel";
  sc.day_boxes = {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
  sc.day_names = {L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday", L"Sunday"};
  sc.no_day = L"Tick at least one day of the week";
  sc.not_scheduled = L"The schedule could not be set: ";
  sc.not_saved = L"The schedule is set, but the settings file could not be written";

  SpokenTexts& s = t.spoken;
  s.copying = L"Copying";
  s.copied = L"Copied";
  s.not_all_copied = L"Some files were not copied";
  s.folder = L"Folder";
  s.mail_store = L"Mail store";
  s.choose_folder = L"Choose folder";
  s.open_link = L"Open";

  MainTexts& m = t.main;
  m.not_found = m.run.copy.not_found = L"Not found";
  m.mail_client_closed = L"Closed (OK)";
  m.mail_client_open = L"OPEN (close-it)";
  m.select_target = L"Select backup folder";
  m.version_without_major = L"Invalid procedure call or argument";
  m.store_id_not_hex = L"Type mismatch";
  m.unexpected_error = L"The program met an error it cannot go on from and closes: ";

  backup::RunTexts& r = t.main.run;
  r.backup = L"Backup!";
  r.cancel = L"CANCEL";
  r.enter_target = L"Please, enter backup folder";
  r.invalid_target = L"Backup folder is not valid. Please, enter a valid target";
  r.same_folder = L"Backup folder cannot be the same as source folder";
  r.cannot_backup_to = L"Cannot backup to ";
  r.error_writing = L"Error writing to ";
  r.cancelled = L"Canceled!";
  r.please_wait = L"Please, wait...";
  r.settings_not_saved = L"Settings could not be saved";
  r.backup_in_progress = L"Backup in progress";
  r.copy.log_folder = L"Folder: ";
  r.copy.log_copied = L"file copied";
  r.copy.log_unchanged = L"file unchanged";
  r.copy.log_not_copied = L"*not copied*";
  r.copy.log_user_cancelled = L"user cancelled";
  r.copy.log_link_skipped = L"link skipped";
  r.copy.log_in_use_by_mail_client = L"in use by the mail client, not copied";
  r.target_not_available = L"Backup target not available: ";
  r.other_run_going = L"A scheduled backup is running";
  m.last_run = {L"Last backup: ", L"never", L", complete", L", cancelled",
                L", target not available", L", ", L" files not copied"};
  r.copy.log_copied_older_kept = L"file copied, older copy kept";
  r.copy.log_older_not_kept = L"*not copied*, older copy could not be kept";
  r.copy.log_versions_removed = L"Older versions removed: ";
  r.copy.log_version_removed_for_room = L"Older version removed to make room: ";
  r.copy.missing_source = L"Backup source file/folder ";

  update::AboutTexts& a = t.about;
  a.title = L"About";
  a.current_version_label = L"Current version:";
  a.latest_version_label = L"Latest version:";
  a.close = L"CLOSE";
  a.update = L"Update Software";
  a.cancel = L"CANCEL";
  a.searching = L"Searching...";
  a.no_version = L"Could not check for a new version";
  a.no_latest_version = L"-";
  a.open_link = L"Open";
  a.updating = L"Updating...";
  a.update_cancelled = L"Update Canceled!";
  a.error_updating = L"Error updating...";
  a.proxy_password = L"The proxy server asks for a password";

  t.splash_loading = L"Loading...";
  return t;
}();

const Texts kSpanish = [] {
  Texts t;
  ControlTexts& c = t.control_texts;
  c.user = L"Usuario:";
  c.system = L"S.O.:";
  c.mail = L"Correo:";
  c.mail_status = L"Outlook está:";
  c.sources = L"Seleccione carpetas";
  c.total = L"Tamaño de la copia:";
  c.target = L"&Copiar a:";
  c.existing_files = L"Si existen archivos en la carpeta de copias:";
  c.merge_note = L"-Los archivos se fusionarán.";
  c.overwrite_note = L"-Archivos con el mismo nombre serán sobreescritos.";
  c.write_log = L"Crear archivo de log";
  c.view_log = L"Ver archivo de log";
  c.file_menu = L"&Archivo";
  c.exit_item = L"&Salir";
  c.help_menu = L"Ay&uda";
  c.about_item = L"&Acerca de";
  c.changed_only_item = L"Copiar solo archivos &nuevos o modificados";
  c.kept_note = L"-Archivos con el mismo nombre, tamaño y fecha se conservan.";
  c.keep_versions_item = L"Conservar &versiones reemplazadas";
  c.versions_note = L"-Archivos reemplazados: se conserva la copia anterior.";
  c.changed_versions_note = L"-Solo se reemplazan los cambiados, con copia anterior.";
  c.schedule_item = L"&Programar copias...";

  ScheduleTexts& sc = t.schedule;
  sc.title = L"Programar copias";
  sc.off = L"Desactivadas";
  sc.daily = L"Cada día";
  sc.weekly = L"Cada semana";
  sc.logon = L"Al iniciar sesión";
  sc.time = L"&Hora:";
  sc.on_battery = L"También con batería";
  sc.ok = L"Aceptar";
  sc.cancel = L"Cancelar";
  sc.day_boxes = {L"Lun", L"Mar", L"Mié", L"Jue", L"Vie", L"Sáb", L"Dom"};
  sc.day_names = {L"lunes", L"martes", L"miércoles", L"jueves", L"viernes", L"sábado", L"domingo"};
  sc.no_day = L"Marque al menos un día de la semana";
  sc.not_scheduled = L"No se pudo programar la copia: ";
  sc.not_saved = L"La copia está programada, pero no se pudo escribir el archivo de configuración";

  SpokenTexts& s = t.spoken;
  s.copying = L"Copiando";
  s.copied = L"Copiado";
  s.not_all_copied = L"Algunos archivos no se copiaron";
  s.folder = L"Carpeta";
  s.mail_store = L"Almacén de correo";
  s.choose_folder = L"Elegir carpeta";
  s.open_link = L"Abrir";

  MainTexts& m = t.main;
  m.not_found = m.run.copy.not_found = L"No encontrado";
  m.mail_client_closed = L"Cerrado (OK)";
  m.mail_client_open = L"ABIERTO (ciérrelo)";
  m.select_target = L"Seleccione la carpeta de la copia de seguridad";
  // The start-up box's descriptions stay in English in every language.
  m.version_without_major = L"Invalid procedure call or argument";
  m.store_id_not_hex = L"Type mismatch";
  m.unexpected_error = L"El programa ha encontrado un error del que no puede seguir y se cierra: ";

  backup::RunTexts& r = t.main.run;
  r.backup = L"Backup!";
  r.cancel = L"CANCELAR";
  r.enter_target = L"Debe indicar el destino de la copia";
  r.invalid_target = L"El destino de la copia no es válido. Por favor, indique un destino válido...";
  r.same_folder = L"La carpeta de copias no puede ser la misma que la carpeta a copiar";
  r.cannot_backup_to = L"No se puede copiar a ";
  r.error_writing = L"Error grabando en ";
  r.cancelled = L"¡Cancelado!";
  r.please_wait = L"Por favor, espere...";
  r.settings_not_saved = L"No se pudo guardar la configuración";
  r.backup_in_progress = L"Copia de seguridad en curso";
  r.copy.log_folder = L"Carpeta: ";
  r.copy.log_copied = L"archivo copiado";
  r.copy.log_unchanged = L"archivo sin cambios";
  r.copy.log_not_copied = L"*no copiado*";
  r.copy.log_user_cancelled = L"cancelado por el usuario";
  r.copy.log_link_skipped = L"enlace omitido";
  r.copy.log_in_use_by_mail_client = L"en uso por el cliente de correo, no copiado";
  r.target_not_available = L"Destino de la copia no disponible: ";
  r.other_run_going = L"Hay una copia programada en curso";
  m.last_run = {L"Última copia: ", L"nunca", L", completa", L", cancelada",
                L", destino no disponible", L", ", L" archivos sin copiar"};
  r.copy.log_copied_older_kept = L"archivo copiado, copia anterior conservada";
  r.copy.log_older_not_kept = L"*no copiado*, no se pudo conservar la copia anterior";
  r.copy.log_versions_removed = L"Versiones antiguas eliminadas: ";
  r.copy.log_version_removed_for_room = L"Versión antigua eliminada para hacer sitio: ";
  r.copy.missing_source = L"Carpeta/archivo origen de la copia ";

  update::AboutTexts& a = t.about;
  a.title = L"Acerca de";
  a.current_version_label = L"Versión actual:";
  a.latest_version_label = L"Nueva versión:";
  a.close = L"CERRAR";
  a.update = L"Actualizar Software";
  a.cancel = L"CANCELAR";
  a.searching = L"Buscando...";
  a.no_version = L"No se pudo comprobar si hay una versión nueva";
  a.no_latest_version = L"-";
  a.open_link = L"Abrir";
  // The update's status lines stay in English in every language.
  a.updating = L"Updating...";
  a.update_cancelled = L"Update Canceled!";
  a.error_updating = L"Error updating...";
  a.proxy_password = L"El servidor proxy pide una contraseña";

  t.splash_loading = L"Cargando...";
  return t;
}();

// The locale rule: a locale whose abbreviated language name starts with
// prefix (letter case counting) gets language; any other gets English.
struct LocaleRule {
  std::wstring_view prefix;
  Language language;
  const Texts& texts;
};
const LocaleRule kLocaleRules[] = {
    {L"ES", Language::kSpanish, kSpanish},  // ESP, ESN, ESM and every other Spanish
};

}  // namespace

Language LanguageOfLocale(std::wstring_view abbreviated_name) {
  for (const LocaleRule& rule : kLocaleRules) {
    if (abbreviated_name.substr(0, rule.prefix.size()) == rule.prefix) return rule.language;
  }
  return Language::kEnglish;
}

const Texts& TextsOf(Language language) {
  for (const LocaleRule& rule : kLocaleRules) {
    if (rule.language == language) return rule.texts;
  }
  return kEnglish;
}

}  // namespace app
