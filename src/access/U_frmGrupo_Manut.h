#pragma once
#include "framework/U_frmCadastro.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QToolButton;

namespace dv {
class DBCheckBox;
class DBEdit;
class DBGrid;
class IncrementalSearch;
} // namespace dv

// One group, and its permission editor: the screens the group does not have yet on
// the left, its permissions with their eight flags on the right. Every move is
// written at once, whatever happens to the group row; a group gets permissions only
// once it has been saved (its grupo_id is the database's). The administrator group
// cannot be changed outside developer mode.
class TfrmGrupo_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmGrupo_Manut(QWidget* parent = nullptr);
    ~TfrmGrupo_Manut() override;

    dv::DBEdit *DBEdit1, *DBEdit2;
    dv::DBCheckBox* DBCheckBox1;
    QLabel* Panel1; // "Permissão do Grupo"
    QWidget* pnPermissao;
    QGroupBox *GroupBox1, *GroupBox2;
    dv::IncrementalSearch* wwIncrementalSearch1;
    dv::DBGrid *wwDBGrid1, *wwDBGrid2;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7, *CheckBox8;
    dv::DBCheckBox *DBCheckBox2, *DBCheckBox3, *DBCheckBox4, *DBCheckBox5, *DBCheckBox6, *DBCheckBox7,
        *DBCheckBox8, *DBCheckBox9;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4;
    QPushButton* Button1;        // "Aplicar"
    dv::Dataset* SQL_Formulario; // screens the group does not have
    dv::DataSource* dsFormulario;
    dv::Dataset* SQL_Permissao; // the group's permissions
    dv::DataSource* dsPermissao;

    void FormShow() override;
    void BitBtn1Click() override;
    void dsUpdateDataChange() override;
    void SpeedButton1Click(); // ">"
    void SpeedButton2Click(); // "<"
    void SpeedButton3Click(); // ">>"
    void SpeedButton4Click(); // "<<"
    void Button1Click();      // "Aplicar"

private:
    QVariant groupId() const;
    void updateEditor();
    void appendPermission(const QString& formName);
    void deleteAllPermissions();
    static void reopen(dv::Dataset* d);

    QList<QCheckBox*> m_newFlags; // the left boxes, in the order of kFlagFields
    bool m_protected = false;
    bool m_linked = false;
};
